#include "CParlivoDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "CMediaPlayer2.h"
#include "library/GrammarNotes.h"
#include "library/Library.h"
#include "reading/IMediaPlayer.h"
#include "reading/Panes.h"

namespace lectoria::ui {

namespace {

QColor ToQColor(settings::Rgb color)
{
    return QColor(color.red, color.green, color.blue);
}

settings::Rgb ButtonFaceColor()
{
    const QColor face = QApplication::palette().color(QPalette::Button);
    return settings::Rgb{static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                         static_cast<std::uint8_t>(face.blue())};
}

struct ButtonSpec
{
    int id;
    QStyle::StandardPixmap icon;
    const char* tip;
};

} // namespace

CParlivoDlg::CParlivoDlg(const MainWindowOptions& options, QWidget* parent)
    : QWidget(parent), m_profile(*options.profile),
      m_settings(settings::LoadSettings(*options.profile, ButtonFaceColor())),
      m_audio(options.tempDir.empty() ? library::DefaultTempDir() : options.tempDir)
{
    setWindowTitle(QStringLiteral("Lectoria"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/lectoria.svg")));
    if (options.player != nullptr) {
        m_player = options.player;
    } else {
        m_ownPlayer = std::make_unique<platform::CMediaPlayer2>();
        m_player = m_ownPlayer.get();
    }

    if (m_settings.strFullPath.empty()) {
        const std::string programDirectory =
            options.programDirectory.empty() ? library::ProgramDirectory() : options.programDirectory;
        m_settings.strFullPath = programDirectory + library::NativeRelativePath(library::kDefaultLesson);
    }
    m_audio.CreateTempDir();

    CreateControls();
    ArrangeControls();
    CreateSystemMenu();
    FillDropDownLists();
    ApplyPaneColors();

    m_player->SetAutoStart(true);
    m_player->SetPlayCount(1);
    m_restoreProgress->hide();

    m_panes = std::make_unique<SentencePanes>(m_wholePane, m_currentPane, m_grammarPane);
    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(100);
    m_loop = std::make_unique<reading::ReadingLoop>(m_settings, *m_player, m_audio, *this, *this);
    connect(m_pollTimer, &QTimer::timeout, this, [this] { m_loop->OnPollTick(); });
    connect(button(1082), &QPushButton::clicked, this, [this] { m_loop->StartReading(); });
    connect(button(1083), &QPushButton::clicked, this, [this] { m_loop->PauseReading(); });
    connect(button(1084), &QPushButton::clicked, this, [this] { m_loop->StopReading(); });
    connect(button(1085), &QPushButton::clicked, this, [this] { m_loop->PreviousSentence(); });
    connect(button(1086), &QPushButton::clicked, this, [this] { m_loop->NextSentence(); });
    connect(m_sentenceList, &QListWidget::itemSelectionChanged, this, &CParlivoDlg::OnSelectionChanged);
    connect(m_sentenceList, &QListWidget::entered, this,
            [this](const QModelIndex& index) { OnItemEntered(index.row()); });
    connect(m_grammarPane, &QPlainTextEdit::textChanged, this, &CParlivoDlg::OnGrammarPaneChanged);
    // Reading keys work whichever control has the focus, so they are seen before any control.
    qApp->installEventFilter(this);
    UpdateStatusLine(std::string());

    m_startTimer = new QTimer(this);
    m_startTimer->setInterval(10);
    connect(m_startTimer, &QTimer::timeout, this, [this] {
        m_startTimer->stop();
        RestoreLastState();
    });
    m_startTimer->start();
    resize(1000, 680);
}

CParlivoDlg::~CParlivoDlg()
{
    qApp->removeEventFilter(this);
    m_loop->Shutdown();
    m_player->Stop();
    settings::SaveSettings(m_profile, m_settings);
    m_profile.Flush();
    m_audio.RemoveTempDir();
}

QPushButton* CParlivoDlg::button(int id) const
{
    for (const auto& [buttonId, button] : m_buttons) {
        if (buttonId == id) {
            return button;
        }
    }
    return nullptr;
}

void CParlivoDlg::CreateControls()
{
    m_statusLine = new QLineEdit(this);
    m_statusLine->setReadOnly(true);
    m_statusLine->setFocusPolicy(Qt::NoFocus);
    m_statusLine->setContextMenuPolicy(Qt::NoContextMenu);

    m_sentenceList = new QListWidget(this);
    m_sentenceList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_sentenceList->setSortingEnabled(false);
    m_sentenceList->setToolTip(QStringLiteral("List"));
    m_sentenceList->setMouseTracking(true);

    m_wholePane = new QTextEdit(this);
    m_wholePane->setReadOnly(true);
    m_wholePane->setFont(PaneFont(90));

    m_currentPane = new QTextEdit(this);
    m_currentPane->setReadOnly(true);
    m_currentPane->setFont(PaneFont(90));
    m_currentPane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_currentPane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_grammarPane = new QPlainTextEdit(this);
    m_grammarPane->setFont(PaneFont(20));

    m_repeatCaption = new QLabel(QStringLiteral("重复次数"), this);
    m_intervalCaption = new QLabel(QStringLiteral("朗读间隔"), this);
    m_intervalCaption->setFocusPolicy(Qt::StrongFocus);
    m_repeatList = new QComboBox(this);
    m_intervalList = new QComboBox(this);
    m_repeatList->setMaxVisibleItems(20);
    m_intervalList->setMaxVisibleItems(22);

    const ButtonSpec buttons[] = {
        {1082, QStyle::SP_MediaPlay, "开始朗读,热键为F2"},
        {1083, QStyle::SP_MediaPause, "暂停朗读,热键为F3"},
        {1084, QStyle::SP_MediaStop, "停止朗读,热键为F4"},
        {1085, QStyle::SP_MediaSkipBackward, "朗读前一文本,热键为PageUp"},
        {1086, QStyle::SP_MediaSkipForward, "朗读后一文本,热键为PageDown"},
        {1087, QStyle::SP_MediaVolume, "声音大小"},
        {1088, QStyle::SP_DialogCloseButton, "退出软件"},
        {1010, QStyle::SP_FileDialogDetailedView, "按课文模式打开文本"},
        {1011, QStyle::SP_FileDialogContentsView, "按语法主题模式打开文本"},
    };
    for (const ButtonSpec& entry : buttons) {
        auto* button = new QPushButton(style()->standardIcon(entry.icon), QString(), this);
        button->setToolTip(QString::fromUtf8(entry.tip));
        button->setIconSize(entry.id == 1010 || entry.id == 1011 ? QSize(32, 32) : QSize(22, 22));
        button->setFocusPolicy(Qt::TabFocus);
        m_buttons.emplace_back(entry.id, button);
    }
    connect(button(1088), &QPushButton::clicked, this, &QWidget::close);

    m_systemMenuButton = new QToolButton(this);
    m_systemMenuButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarMenuButton));
    m_systemMenuButton->setToolTip(QStringLiteral("窗口菜单"));
    m_systemMenuButton->setPopupMode(QToolButton::InstantPopup);
    m_systemMenuButton->setAutoRaise(true);

    m_restoreProgress = new QProgressBar(this);
    m_restoreProgress->setRange(0, 100);
}

void CParlivoDlg::ArrangeControls()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    root->setSpacing(4);

    auto* top = new QHBoxLayout;
    top->addWidget(m_statusLine, 1);
    top->addWidget(m_systemMenuButton);
    root->addLayout(top);
    root->addWidget(m_restoreProgress);

    auto* panes = new QSplitter(Qt::Vertical);
    panes->addWidget(m_wholePane);
    panes->addWidget(m_currentPane);
    panes->addWidget(m_grammarPane);
    panes->setStretchFactor(0, 15);
    panes->setStretchFactor(1, 60);
    panes->setStretchFactor(2, 25);
    panes->setChildrenCollapsible(false);

    auto* middle = new QSplitter(Qt::Horizontal);
    middle->addWidget(m_sentenceList);
    middle->addWidget(panes);
    middle->setStretchFactor(0, 25);
    middle->setStretchFactor(1, 75);
    middle->setChildrenCollapsible(false);
    root->addWidget(middle, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(button(1010));
    bottom->addWidget(button(1011));
    bottom->addSpacing(12);
    bottom->addWidget(m_repeatCaption);
    bottom->addWidget(m_repeatList);
    bottom->addWidget(m_intervalCaption);
    bottom->addWidget(m_intervalList);
    bottom->addStretch(1);
    for (int id : {1082, 1083, 1084, 1085, 1086, 1087, 1088}) {
        bottom->addWidget(button(id));
    }
    root->addLayout(bottom);
}

void CParlivoDlg::CreateSystemMenu()
{
    auto* menu = new QMenu(m_systemMenuButton);
    menu->setToolTipsVisible(true);
    // The window manager owns the real system menu on Linux, so these items live on the
    // window-menu button until the window draws its own title bar.
    struct Item
    {
        int id;
        const char* text;
        const char* tip;
    };
    const Item items[] = {
        {1202, "取消标题栏颜色(&Q)", "标题栏颜色在下一版本中提供"},
        {1203, "设置标题栏颜色(&C)", "标题栏颜色在下一版本中提供"},
        {1201, "全屏显示开关(&F)       F8", "全屏显示在下一版本中提供"},
        {1204, "帮助系统", "帮助系统在下一版本中提供"},
    };
    for (const Item& item : items) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setData(item.id);
        action->setToolTip(QString::fromUtf8(item.tip));
        action->setEnabled(false);
    }
    menu->addSeparator();
    QAction* close = menu->addAction(QStringLiteral("关闭"));
    connect(close, &QAction::triggered, this, &QWidget::close);
    m_systemMenuButton->setMenu(menu);
}

void CParlivoDlg::FillDropDownLists()
{
    for (int repeat = 1; repeat <= settings::kMaxRepeat; ++repeat) {
        m_repeatList->addItem(QString::number(repeat));
    }
    for (int seconds = 0; seconds < settings::kFitInterval; ++seconds) {
        m_intervalList->addItem(QString::number(seconds));
    }
    m_intervalList->addItem(QStringLiteral("Fit"));
    m_repeatList->setCurrentIndex(m_settings.nRepeatPlayNum - 1);
    m_intervalList->setCurrentIndex(m_settings.nDuration);
    connect(m_repeatList, &QComboBox::currentIndexChanged, this, &CParlivoDlg::OnRepeatChanged);
    connect(m_intervalList, &QComboBox::currentIndexChanged, this, &CParlivoDlg::OnIntervalChanged);
}

void CParlivoDlg::ApplyPaneColors()
{
    using namespace settings;
    const auto& colors = m_settings.colorTable;
    auto paint = [](QWidget* widget, Rgb text, Rgb background) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Text, ToQColor(text));
        palette.setColor(QPalette::Base, ToQColor(background));
        palette.setColor(QPalette::WindowText, ToQColor(text));
        palette.setColor(QPalette::Window, ToQColor(background));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    };
    paint(m_wholePane, colors[kWholeText], colors[kWholeBackground]);
    paint(m_currentPane, colors[kCurrentText], colors[kCurrentBackground]);
    paint(m_grammarPane, colors[kGrammarText], colors[kGrammarBackground]);
    paint(m_sentenceList, colors[kListText], colors[kListBackground]);
    paint(m_statusLine, colors[kStatusText], colors[kClientBackground]);
    paint(m_repeatCaption, colors[kStatusText], colors[kClientBackground]);
    paint(m_intervalCaption, colors[kStatusText], colors[kClientBackground]);
    QPalette client = palette();
    client.setColor(QPalette::Window, ToQColor(colors[kClientBackground]));
    setPalette(client);
    setAutoFillBackground(true);
}

void CParlivoDlg::OnRepeatChanged(int index)
{
    if (index >= 0) {
        m_settings.nRepeatPlayNum = m_repeatList->itemText(index).toInt();
    }
}

void CParlivoDlg::OnIntervalChanged(int index)
{
    if (index >= 0) {
        m_settings.nDuration = index;
    }
}

void CParlivoDlg::RestoreLastState()
{
    if (m_restored) {
        return;
    }
    m_restored = true;
    m_startTimer->stop();
    QSignalBlocker blocker(m_sentenceList);
    m_sentenceList->clear();
    for (const std::string& title : library::FillLessonList(m_settings.strFullPath)) {
        m_sentenceList->addItem(QString::fromStdString(title));
    }
    LoadLessonNotes();
    blocker.unblock();
    OnSelectionChanged();
}

void CParlivoDlg::LoadLessonNotes()
{
    // Notes are kept by sentence number; a lesson numbered with gaps needs a slot for its
    // highest number, not just one per file.
    int noteCount = m_sentenceList->count();
    for (int row = 0; row < m_sentenceList->count(); ++row) {
        noteCount = std::max(noteCount, library::SentenceNumber(m_sentenceList->item(row)->text().toStdString()));
    }
    m_grammarNotes = library::LoadLessonNotes(library::NoteFileOf(m_settings.strFullPath), noteCount);
    m_noteDirty.assign(m_grammarNotes.size(), 0);
    m_itemPaths.clear();
    m_highlightWords.clear();
}

void CParlivoDlg::SaveNotes()
{
    if (!m_settings.isSelectSubject) {
        if (!m_grammarNotes.empty()) {
            library::SaveLessonNotes(m_settings.strFullPath, m_grammarNotes);
        }
        return;
    }
    std::vector<library::TopicNote> items;
    for (int row = 0; row < m_sentenceList->count(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        items.push_back(library::TopicNote{m_sentenceList->item(row)->text().toStdString(),
                                           index < m_itemPaths.size() ? m_itemPaths[index] : std::string(),
                                           index < m_grammarNotes.size() ? m_grammarNotes[index] : std::string(),
                                           index < m_noteDirty.size() && m_noteDirty[index] != 0});
    }
    for (const std::string& message : library::SaveTopicNotes(m_settings.strFullPath, items)) {
        QMessageBox::information(this, QStringLiteral("Lectoria"), QString::fromStdString(message));
    }
}

std::string CParlivoDlg::ItemText(int listIndex) const
{
    const QListWidgetItem* item = m_sentenceList->item(listIndex);
    return item == nullptr ? std::string() : item->text().toStdString();
}

std::string CParlivoDlg::AudioPath(int listIndex) const
{
    const auto index = static_cast<std::size_t>(listIndex);
    return library::SentenceAudioPath(m_settings.strFullPath, m_settings.isSelectSubject, ItemText(listIndex),
                                      index < m_itemPaths.size() ? m_itemPaths[index] : std::string());
}

void CParlivoDlg::ShowPanes(int position)
{
    ShowCurrentSentence(position);
    ShowWholeSentence(position);
    ShowGrammarNote(position);
}

void CParlivoDlg::ShowCurrentSentence(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const auto index = static_cast<std::size_t>(listIndex);
    const std::string highlights =
        m_settings.isSelectSubject && index < m_highlightWords.size() ? m_highlightWords[index] : std::string();
    m_panes->ShowCurrentSentence(reading::CurrentSentenceText(ItemText(listIndex)), highlights,
                                 m_settings.colorTable[settings::kCurrentText],
                                 m_settings.colorTable[settings::kWholeText]);
    m_intervalCaption->setFocus();
}

void CParlivoDlg::ShowWholeSentence(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const auto index = static_cast<std::size_t>(listIndex);
    if (m_settings.isSelectSubject) {
        m_panes->ShowWholeText(reading::TopicLessonText(index < m_itemPaths.size() ? m_itemPaths[index] : ""),
                               m_settings.colorTable[settings::kWholeText]);
        return;
    }
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(m_sentenceList->count()));
    for (int row = 0; row < m_sentenceList->count(); ++row) {
        items.push_back(m_sentenceList->item(row)->text().toStdString());
    }
    m_panes->ShowWholeSentence(reading::ComposeWholeSentence(items, ItemText(listIndex)),
                               m_settings.colorTable[settings::kWholeText],
                               m_settings.colorTable[settings::kCurrentText]);
}

int CParlivoDlg::NoteIndex(int position) const
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return -1;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const int slot = m_settings.isSelectSubject ? listIndex : library::SentenceNumber(ItemText(listIndex)) - 1;
    return slot >= 0 && static_cast<std::size_t>(slot) < m_grammarNotes.size() ? slot : -1;
}

void CParlivoDlg::ShowGrammarNote(int position)
{
    if (position < 1 || position > m_loop->chosenCount()) {
        return;
    }
    const int slot = NoteIndex(position);
    m_panes->ShowGrammarNote(slot < 0 ? std::string() : m_grammarNotes[static_cast<std::size_t>(slot)]);
}

void CParlivoDlg::OnGrammarPaneChanged()
{
    if (m_loop->chosenCount() <= 0) {
        return;
    }
    const int position = m_settings.nNowPlayNum;
    const int slot = NoteIndex(position);
    if (slot < 0) {
        return;
    }
    const int listIndex = m_loop->chosenIndices()[static_cast<std::size_t>(position - 1)];
    const int number = library::SentenceNumber(ItemText(listIndex));
    m_grammarNotes[static_cast<std::size_t>(slot)] =
        library::NotePrefix(number) + m_grammarPane->toPlainText().toStdString();
    m_noteDirty[static_cast<std::size_t>(slot)] = 1;
}

void CParlivoDlg::ClearPanes()
{
    m_panes->Clear();
}

void CParlivoDlg::UpdateStatusLine(const std::string& problem)
{
    m_statusProblem = problem;
    reading::StatusInput input;
    input.isSelectSubject = m_settings.isSelectSubject;
    input.strFullPath = m_settings.strFullPath;
    input.strSubjectWord = m_settings.strSubjectWord;
    input.strSubjectGrammar = m_settings.strSubjectGrammar;
    input.strSubjectBook = m_settings.strSubjectBook;
    input.isReading = m_loop->isReading();
    input.chosenCount = m_loop->chosenCount();
    input.repeatRound = m_loop->repeatRound();
    input.nNowPlayNum = m_settings.nNowPlayNum;
    std::string text = reading::StatusLineText(input);
    if (!problem.empty()) {
        text += " [" + problem + "]";
    }
    m_statusLine->setText(QString::fromStdString(text));
    m_statusLine->setCursorPosition(0);
    m_statusShowsItem = false;
}

void CParlivoDlg::StartPolling()
{
    m_pollTimer->start();
}

void CParlivoDlg::StopPolling()
{
    m_pollTimer->stop();
}

void CParlivoDlg::WaitPumping(int ms)
{
    // The user's commands keep working during the wait; the timer ends it even when nothing
    // else happens.
    QEventLoop wait;
    QTimer::singleShot(std::max(ms, 0), &wait, &QEventLoop::quit);
    wait.exec();
}

void CParlivoDlg::OnSelectionChanged()
{
    std::vector<int> selected;
    for (const QModelIndex& index : m_sentenceList->selectionModel()->selectedIndexes()) {
        selected.push_back(index.row());
    }
    m_loop->UpdatePlaylist(std::move(selected));
}

void CParlivoDlg::OnItemEntered(int row)
{
    if (row < 0 || row >= m_sentenceList->count()) {
        return;
    }
    m_statusLine->setText(m_sentenceList->item(row)->text());
    m_statusShowsItem = true;
}

bool CParlivoDlg::HandleKey(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        return true;
    case Qt::Key_F2:
        m_loop->StartReading();
        return true;
    case Qt::Key_F3:
        m_loop->PauseReading();
        return true;
    case Qt::Key_F4:
        m_loop->StopReading();
        return true;
    case Qt::Key_PageUp:
        m_loop->PreviousSentence();
        return false;
    case Qt::Key_PageDown:
        m_loop->NextSentence();
        return false;
    default:
        return false;
    }
}

bool CParlivoDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget != nullptr && (widget == this || isAncestorOf(widget));
    if (ours && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A key its control leaves unused travels on to the control's parents; it is one key.
        const bool travelling = key == m_lastKey.event && key->timestamp() == m_lastKey.timestamp &&
                                m_lastKey.receiver != nullptr && widget != m_lastKey.receiver &&
                                widget->isAncestorOf(m_lastKey.receiver);
        m_lastKey = {key, key->timestamp(), widget};
        if (travelling) {
            return key->key() == Qt::Key_Escape;
        }
        return HandleKey(key->key());
    }
    if (ours && event->type() == QEvent::MouseMove && m_statusShowsItem && widget != m_sentenceList->viewport()) {
        UpdateStatusLine(m_statusProblem);
    }
    return QWidget::eventFilter(watched, event);
}

void CParlivoDlg::PrepareToClose()
{
    if (m_closePrepared) {
        return;
    }
    m_closePrepared = true;
    m_loop->Shutdown();
    SaveNotes();
    m_audio.DeleteTempAudio();
}

void CParlivoDlg::closeEvent(QCloseEvent* event)
{
    PrepareToClose();
    event->accept();
}

} // namespace lectoria::ui
