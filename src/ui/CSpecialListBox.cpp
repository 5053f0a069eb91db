#include "CSpecialListBox.h"

#include <algorithm>
#include <utility>

#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "library/Library.h"

namespace lectoria::ui {

namespace {

QColor ToQColor(settings::Rgb color)
{
    return QColor(color.red, color.green, color.blue);
}

} // namespace

CSpecialListBox::CSpecialListBox(SentenceListOwner& owner, QWidget* parent)
    : QListWidget(parent), m_owner(owner), m_scrollDown(new QTimer(this)), m_scrollUp(new QTimer(this))
{
    setSelectionMode(QAbstractItemView::MultiSelection);
    setSortingEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // With uniform item sizes Qt sizes every row like the last one, so one long last title would
    // bring a horizontal scroll bar; the list scrolls only up and down, long titles are cut.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    setUniformItemSizes(true);
    setToolTip(QStringLiteral("List"));
    connect(m_scrollDown, &QTimer::timeout, this, [this] { ScrollStep(+1); });
    connect(m_scrollUp, &QTimer::timeout, this, [this] { ScrollStep(-1); });
    // Scrolling by the scroll bar repaints the whole list, so no stale indicator stays behind.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    ApplyColors();
}

void CSpecialListBox::SetColors(settings::Rgb text, settings::Rgb background, settings::Rgb line)
{
    m_text = text;
    m_background = background;
    m_line = line;
    ApplyColors();
}

void CSpecialListBox::ApplyColors()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Text, ToQColor(m_text));
    colours.setColor(QPalette::Base, ToQColor(m_background));
    colours.setColor(QPalette::Window, ToQColor(m_background));
    setPalette(colours);
    viewport()->update();
}

struct CSpecialListBox::ResultFill
{
    std::vector<std::string> items;
    std::vector<std::string> highlights;
    std::function<void()> done;
    std::size_t next = 0;
};

void CSpecialListBox::FillResults(std::vector<std::string> items, std::vector<std::string> highlights,
                                  std::function<void()> done)
{
    m_fill.reset();
    setEnabled(true);
    {
        const QSignalBlocker blocker(this);
        clear();
    }
    auto fill = std::make_shared<ResultFill>();
    fill->items = std::move(items);
    fill->highlights = std::move(highlights);
    fill->highlights.resize(fill->items.size());
    fill->done = std::move(done);
    m_fill = fill;
    if (!FillNextChunk()) {
        FinishFill();
        return;
    }
    setEnabled(false);
    ScheduleFillStep();
}

void CSpecialListBox::ScheduleFillStep()
{
    QTimer::singleShot(0, this, [this, fill = m_fill] {
        if (m_fill != fill) {
            return; // abandoned by a later fill or clear
        }
        if (FillNextChunk()) {
            ScheduleFillStep();
            return;
        }
        setEnabled(true);
        FinishFill();
    });
}

bool CSpecialListBox::FillNextChunk()
{
    ResultFill& fill = *m_fill;
    const std::size_t end = std::min(fill.items.size(), fill.next + kFillChunk);
    // The titles go in as one insertion, one announcement to the view instead of one per row.
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(end - fill.next));
    for (std::size_t i = fill.next; i < end; ++i) {
        titles.append(QString::fromStdString(library::SplitItemPath(fill.items[i]).title));
    }
    {
        const QSignalBlocker blocker(this);
        const int first = count();
        insertItems(first, titles);
        for (std::size_t i = fill.next; i < end; ++i) {
            QListWidgetItem* row = item(first + static_cast<int>(i - fill.next));
            row->setData(PathRole, QString::fromStdString(fill.items[i]));
            row->setData(HighlightRole, QString::fromStdString(fill.highlights[i]));
        }
    }
    fill.next = end;
    emit fillProgress(static_cast<int>(end), static_cast<int>(fill.items.size()));
    return end < fill.items.size();
}

void CSpecialListBox::FinishFill()
{
    const std::function<void()> done = std::move(m_fill->done);
    m_fill.reset();
    if (done) {
        done();
    }
}

void CSpecialListBox::SelectAllItems()
{
    selectAll();
    m_owner.UpdatePlaylist();
}

void CSpecialListBox::SelectNoItems()
{
    clearSelection();
    m_owner.UpdatePlaylist();
}

void CSpecialListBox::DeleteAllItems()
{
    m_fill.reset();
    setEnabled(true);
    clear();
    m_owner.UpdatePlaylist();
}

void CSpecialListBox::DeleteSelectedItems()
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        rows.push_back(index.row());
    }
    if (rows.empty()) {
        return;
    }
    std::sort(rows.begin(), rows.end());
    {
        const QSignalBlocker blocker(this);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            delete takeItem(rows[k] - static_cast<int>(k));
        }
    }
    m_owner.UpdatePlaylist();
}

void CSpecialListBox::MoveCurrent(int step)
{
    const int current = currentRow();
    const int target = current + step;
    if (current < 0 || target < 0 || target >= count()) {
        return;
    }
    {
        const QSignalBlocker blocker(this);
        QListWidgetItem* item = takeItem(current);
        insertItem(target, item);
        item->setSelected(true);
        setCurrentRow(target, QItemSelectionModel::NoUpdate);
    }
    m_owner.UpdatePlaylist();
}

void CSpecialListBox::MoveSelectedUp()
{
    MoveCurrent(-1);
}

void CSpecialListBox::MoveSelectedDown()
{
    MoveCurrent(+1);
}

void CSpecialListBox::ArrangeTexts()
{
    if (m_owner.IsTopicMode()) {
        QMessageBox::information(this, QStringLiteral("Lectoria"), QStringLiteral("主题播放状态下不能排列文本"));
        return;
    }
    m_owner.ReloadLesson();
    m_owner.UpdatePlaylist();
}

void CSpecialListBox::ChooseColors()
{
    settings::Rgb text = m_text;
    settings::Rgb background = m_background;
    settings::Rgb line = m_line;
    if (chooseColors && chooseColors(text, background, line)) {
        SetColors(text, background, line);
    }
}

QMenu* CSpecialListBox::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    struct Item
    {
        const char* text;
        const char* icon;
        void (CSpecialListBox::*command)();
        bool separatorAfter;
    };
    const Item items[] = {
        {"选择全部(&A)", "select-all", &CSpecialListBox::SelectAllItems, false},
        {"全部不选(&N)", "select-none", &CSpecialListBox::SelectNoItems, true},
        {"删除全部(&G)", "delete-all", &CSpecialListBox::DeleteAllItems, false},
        {"删除选中(&W)", "delete", &CSpecialListBox::DeleteSelectedItems, true},
        {"上移选中(&U)", "move-up", &CSpecialListBox::MoveSelectedUp, false},
        {"下移选中(&D)", "move-down", &CSpecialListBox::MoveSelectedDown, true},
        {"打开文本(&T)", "open-lesson", nullptr, false},
        {"打开专题(&B)", "open-topic", nullptr, false},
        {"导入课文(&I)", "open-lesson", nullptr, false},
        {"排列文本(&S)", "arrange", &CSpecialListBox::ArrangeTexts, true},
        {"选择颜色(&C)", "colour", &CSpecialListBox::ChooseColors, true},
        {"帮助系统", "help", nullptr, true},
    };
    menu->addSeparator();
    for (const Item& item : items) {
        QAction* action = menu->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(item.icon))),
                                          QString::fromUtf8(item.text));
        if (item.command != nullptr) {
            connect(action, &QAction::triggered, this, item.command);
        }
        if (item.separatorAfter) {
            menu->addSeparator();
        }
    }
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (action->text() == QStringLiteral("打开文本(&T)")) {
            connect(action, &QAction::triggered, this, [this] { m_owner.OpenText(); });
        } else if (action->text() == QStringLiteral("打开专题(&B)")) {
            connect(action, &QAction::triggered, this, [this] { m_owner.OpenTopic(); });
        } else if (action->text() == QStringLiteral("导入课文(&I)")) {
            connect(action, &QAction::triggered, this, &CSpecialListBox::importLessonRequested);
        } else if (action->text() == QStringLiteral("帮助系统")) {
            connect(action, &QAction::triggered, this, [this] { m_owner.ShowHelp(); });
        }
    }
    return menu;
}

void CSpecialListBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CSpecialListBox::mousePressEvent(QMouseEvent* event)
{
    m_dragSource = -1;
    m_dropTarget = -1;
    m_dragging = false;
    m_scrollInterval = 0;
    if (event->button() == Qt::LeftButton) {
        if (QListWidgetItem* pressed = itemAt(event->position().toPoint())) {
            m_dragSource = row(pressed);
        }
    }
    QListWidget::mousePressEvent(event);
}

void CSpecialListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    if (m_dragSource != -1 && !m_dragging) {
        m_dragging = true;
    }
    if (!m_dragging) {
        return;
    }
    // Moving with the button held reorders; it never sweeps a selection over the items.
    const QPoint point = event->position().toPoint();
    // Items scrolled out of view still answer itemAt, so the visible area is asked first: beyond
    // it the list scrolls, and the drop target stays on a visible item.
    if (!viewport()->rect().contains(point)) {
        AutoScroll(point.y());
        return;
    }
    StopAutoScroll();
    QListWidgetItem* over = itemAt(point);
    const int target = over != nullptr ? row(over) : -1;
    if (target != m_dropTarget) {
        MoveDropIndicator(target);
    }
}

void CSpecialListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragSource != -1 && m_dragging) {
        StopAutoScroll();
        m_dragging = false;
        if (viewport()->rect().contains(event->position().toPoint())) {
            MoveItem(m_dragSource, m_dropTarget);
        }
        viewport()->update();
    }
    m_dragSource = -1;
    m_dropTarget = -1;
    m_owner.UpdatePlaylist();
    QListWidget::mouseReleaseEvent(event);
}

void CSpecialListBox::MoveItem(int source, int target)
{
    if (source < 0 || source >= count() || source == target || target >= count()) {
        return;
    }
    const int top = verticalScrollBar()->value();
    {
        const QSignalBlocker blocker(this);
        QListWidgetItem* moving = item(source);
        const bool selected = moving->isSelected();
        takeItem(source);
        int landing = target;
        if (target == -1) {
            landing = count();
        } else if (source < target) {
            landing = target - 1;
        }
        insertItem(landing, moving);
        moving->setSelected(selected);
    }
    verticalScrollBar()->setValue(top);
    viewport()->update();
    emit itemSelectionChanged();
}

int CSpecialListBox::AutoScrollInterval(int distance, int itemHeight)
{
    return 250 / (distance / std::max(itemHeight, 1) + 1);
}

void CSpecialListBox::AutoScroll(int y)
{
    const int height = viewport()->height();
    QTimer* timer = nullptr;
    int distance = 0;
    if (y > height) {
        timer = m_scrollDown;
        distance = y - height;
    } else if (y < 0) {
        timer = m_scrollUp;
        distance = -y;
    } else {
        StopAutoScroll();
        return;
    }
    const int itemHeight = count() > 0 ? visualItemRect(item(0)).height() : fontMetrics().height();
    const int interval = AutoScrollInterval(distance, itemHeight);
    if (interval == m_scrollInterval) {
        return;
    }
    m_scrollInterval = interval;
    (timer == m_scrollDown ? m_scrollUp : m_scrollDown)->stop();
    timer->start(interval);
    ScrollStep(timer == m_scrollDown ? +1 : -1);
}

void CSpecialListBox::StopAutoScroll()
{
    m_scrollDown->stop();
    m_scrollUp->stop();
    m_scrollInterval = 0;
}

void CSpecialListBox::ScrollStep(int step)
{
    int target = m_dropTarget + step;
    if (m_dropTarget == -1) {
        // "After the last item" moves up to the last item, and no further down.
        target = step > 0 ? -1 : count() - 1;
    } else if (target >= count()) {
        target = -1;
    } else if (target < 0) {
        target = 0;
    }
    MoveDropIndicator(target);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
}

void CSpecialListBox::MoveDropIndicator(int target)
{
    m_dropTarget = target;
    viewport()->update();
}

void CSpecialListBox::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (!m_dragging || m_dropTarget == m_dragSource || count() == 0) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(QPen(ToQColor(m_line), 1));
    if (m_dropTarget == -1) {
        const QRect last = visualItemRect(item(count() - 1));
        if (viewport()->rect().contains(last.bottomLeft())) {
            painter.drawLine(last.left(), last.top(), last.right(), last.top());
            painter.drawLine(last.left(), last.bottom(), last.right(), last.bottom());
        }
        return;
    }
    const QRect rect = visualItemRect(item(m_dropTarget));
    if (!viewport()->rect().contains(rect.topLeft())) {
        return;
    }
    painter.drawLine(rect.left(), rect.top() + 1, rect.right(), rect.top() + 1);
    painter.drawLine(rect.left(), rect.top() + 1, rect.left(), rect.bottom() - 1);
    painter.drawLine(rect.left(), rect.bottom() - 1, rect.right(), rect.bottom() - 1);
}

} // namespace lectoria::ui
