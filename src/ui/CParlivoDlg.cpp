#include "CParlivoDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "ButtonStyle.h"
#include "CProgressCtrlStart.h"
#include "CSetListColorDlg.h"
#include "CVolumeControl.h"
#include "DeferredMedia.h"
#include "FramelessResizer.h"
#include "HalftoneBand.h"
#include "NotesKeeper.h"
#include "SearchWorker.h"
#include "SentencePanes.h"
#include "SpeakingPractice.h"
#include "TitleBar.h"
#include "WindowColours.h"
#include "WindowCommands.h"
#include "library/Library.h"
#include "reading/IMediaPlayer.h"

namespace lectoria::ui {

namespace {

/// The output volume when the window has no real player (tests): kept in memory.
class MemoryVolume : public IVolume
{
public:
    ChannelVolume Get() const override { return m_volume; }
    void Set(ChannelVolume volume) override { m_volume = volume; }

private:
    ChannelVolume m_volume{kVolumeMax, kVolumeMax};
};

} // namespace

CParlivoDlg::CParlivoDlg(const MainWindowOptions& options, QWidget* parent)
    : QWidget(parent), m_profile(*options.profile),
      m_settings(settings::LoadSettings(*options.profile, WindowColours::ButtonFace()))
{
    EnableQuickToolTips();
    setWindowTitle(QStringLiteral("Lectoria"));
    setWindowIcon(ProgramIcon());
    if (options.player != nullptr) {
        m_player = options.player;
    } else {
        m_ownPlayer = std::make_unique<platform::DeferredPlayer>();
        m_player = m_ownPlayer.get();
    }

    OpenLibrary(options);

    CreateControls();
    FillDropDownLists();
    ColouredControls coloured;
    coloured.window = this;
    coloured.client = m_client;
    coloured.titleBar = m_titleBar;
    coloured.statusLine = m_statusLine;
    coloured.repeatCaption = m_repeatCaption;
    coloured.intervalCaption = m_intervalCaption;
    coloured.speedCaption = m_speedCaption;
    coloured.list = m_sentenceList;
    coloured.wholePane = m_wholePane;
    coloured.currentPane = m_currentPane;
    coloured.grammarPane = m_grammarPane;
    coloured.buttons = [this] {
        std::vector<QPushButton*> buttons;
        for (const auto& [id, pushButton] : m_buttons) {
            buttons.push_back(pushButton);
        }
        buttons.push_back(m_shadowButton);
        return buttons;
    };
    m_colours = new WindowColours(m_settings, coloured, this);
    m_colours->Apply();
    connect(m_colours, &WindowColours::statusColorsChanged, this, [this] { m_reading->RefreshStatusLine(); });

    m_restoreProgress->hide();

    ClientControls placed;
    placed.client = m_client;
    placed.titleBar = m_titleBar;
    placed.band = m_band;
    placed.button = [this](int id) { return button(id); };
    placed.repeatList = m_repeatList;
    placed.intervalList = m_intervalList;
    placed.repeatCaption = m_repeatCaption;
    placed.intervalCaption = m_intervalCaption;
    placed.speedList = m_speedList;
    placed.speedCaption = m_speedCaption;
    placed.shadowButton = m_shadowButton;
    placed.statusLine = m_statusLine;
    placed.list = m_sentenceList;
    placed.wholePane = m_wholePane;
    placed.currentPane = m_currentPane;
    placed.grammarPane = m_grammarPane;
    placed.progress = m_restoreProgress;
    m_arranger = new PaneArranger(m_settings, placed, *m_volume, this);
    connect(m_arranger, &PaneArranger::laidOut, this, [this] {
        if (!m_arranger->state().isFullScreen) {
            m_colours->RestyleButtons();
        }
        if (m_reading != nullptr) {
            m_reading->RefreshSentence();
        }
    });
    connect(m_arranger, &PaneArranger::clientMenuRequested, this, [this](QPoint globalPos) {
        QMenu* menu = m_commands->CreateClientMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(globalPos);
    });

    m_notes = new NotesKeeper(this);
    ReadingControls controls;
    controls.list = m_sentenceList;
    controls.statusLine = m_statusLine;
    controls.wholePane = m_wholePane;
    controls.currentPane = m_currentPane;
    controls.grammarPane = m_grammarPane;
    controls.focusAfterShow = m_intervalCaption;
    controls.messageParent = this;
    m_reading = std::make_unique<ReadingController>(m_settings, *m_player, options.tempDir, controls, *m_notes);
    LessonOpener::Parts opening;
    opening.list = m_sentenceList;
    opening.progress = m_restoreProgress;
    opening.reading = m_reading.get();
    opening.notes = m_notes;
    opening.dialogParent = this;
    opening.runners = this;
    m_opener = new LessonOpener(m_settings, opening, this);
    BindCommands();
    PracticeParts practice;
    practice.speedCaption = m_speedCaption;
    practice.speedList = m_speedList;
    practice.shadowButton = m_shadowButton;
    practice.messageParent = this;
    practice.reading = m_reading.get();
    practice.player = m_player;
    practice.commands = m_commands;
    practice.recorder = options.recorder;
    practice.pictureColours = [this] {
        const auto& colors = m_settings.colorTable;
        const auto colour = [](settings::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); };
        SpeechPictureColours picture;
        picture.text = colour(colors[settings::kCurrentText]);
        picture.background = colour(colors[settings::kCurrentBackground]);
        return picture;
    };
    m_practice = new SpeakingPractice(m_settings, practice, this);
    connect(m_titleBar, &TitleBar::helpRequested, this, &CParlivoDlg::ShowHelp);
    connect(m_titleBar, &TitleBar::systemMenuRequested, this, [this](QPoint globalPos) {
        QMenu* menu = m_commands->CreateSystemMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(globalPos);
    });
    connect(m_wholePane, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowWholePaneMenu(m_wholePane->mapToGlobal(pos)); });
    connect(m_sentenceList, &QListWidget::itemSelectionChanged, this, &CParlivoDlg::UpdatePlaylist);
    connect(m_sentenceList, &CSpecialListBox::importLessonRequested, this, &CParlivoDlg::ImportLesson);
    connect(m_sentenceList, &QListWidget::entered, this,
            [this](const QModelIndex& index) { m_reading->ShowItemText(index.row()); });
    connect(m_currentPane, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowLargePaneMenu(m_currentPane->mapToGlobal(pos)); });
    WatchMouseOf(this);
    m_reading->RefreshStatusLine();

    m_startTimer = new QTimer(this);
    m_startTimer->setInterval(10);
    connect(m_startTimer, &QTimer::timeout, this, [this] {
        m_startTimer->stop();
        RestoreLastState();
    });
    m_startTimer->start();
    resize(1000, 680);
    LayoutPanes();
}

CParlivoDlg::~CParlivoDlg()
{
    // A restore still searching stops here; its outcome must not reach a window being destroyed.
    delete m_opener;
    m_opener = nullptr;
    delete m_practice;
    m_practice = nullptr;
    m_reading.reset();
    if (!m_closePrepared) {
        // A window closed without its close path (tests, a failed start) still keeps its settings;
        // there is nobody left to tell of a failure.
        SaveProfile();
    }
}

bool CParlivoDlg::SaveProfile()
{
    m_colours->StoreListColors();
    settings::SaveSettings(m_profile, m_settings);
    return m_profile.Flush();
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
    // The window draws its own title strip; everything else stands in the client area below it,
    // placed by LayoutPanes.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::Window);
    m_titleBar = new TitleBar(this);
    m_client = new QWidget(this);
    m_client->setMouseTracking(true);
    // The window's layout takes its minimum from this and from the title strip's.
    m_client->setMinimumSize(MinimumClientSize());
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(m_titleBar);
    root->addWidget(m_client, 1);
    m_resizer = new FramelessResizer(this);

    m_statusLine = new QLineEdit(m_client);
    m_statusLine->setReadOnly(true);
    m_statusLine->setFocusPolicy(Qt::NoFocus);
    m_statusLine->setContextMenuPolicy(Qt::NoContextMenu);
    m_statusLine->setFrame(false);
    m_statusLine->setTextMargins(0, 0, 0, 0);
    QFont small = m_statusLine->font();
    small.setPixelSize(11);
    m_statusLine->setFont(small);

    m_sentenceList = new CSpecialListBox(*this, m_client);

    // Both sentence panes size their type to fill them; a scroll bar would only appear where the
    // fitted type's line spacing runs a few dots past a short sentence's pane, and steal its width.
    m_wholePane = new QTextEdit(m_client);
    m_wholePane->setReadOnly(true);
    m_wholePane->setFont(PaneFont(90));
    m_wholePane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_wholePane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_wholePane->setContextMenuPolicy(Qt::CustomContextMenu);

    m_currentPane = new QTextEdit(m_client);
    m_currentPane->setReadOnly(true);
    m_currentPane->setFont(PaneFont(90));
    m_currentPane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_currentPane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_currentPane->setContextMenuPolicy(Qt::CustomContextMenu);

    m_grammarPane = new QPlainTextEdit(m_client);
    m_grammarPane->setFont(PaneFont(20));

    m_repeatCaption = new QLabel(QStringLiteral("重复次数"), m_client);
    m_intervalCaption = new QLabel(QStringLiteral("朗读间隔"), m_client);
    m_speedCaption = new QLabel(QStringLiteral("语速"), m_client);
    for (QLabel* caption : {m_repeatCaption, m_intervalCaption, m_speedCaption}) {
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignCenter);
        caption->setFont(small);
    }
    m_intervalCaption->setFocusPolicy(Qt::StrongFocus);
    m_repeatList = new QComboBox(m_client);
    m_intervalList = new QComboBox(m_client);
    m_repeatList->setMaxVisibleItems(20);
    m_intervalList->setMaxVisibleItems(22);
    m_speedList = new QComboBox(m_client);
    for (QComboBox* list : {m_repeatList, m_intervalList, m_speedList}) {
        list->setFont(small);
    }
    m_shadowButton = new IconButton(QStringLiteral("shadow"), m_client);
    m_shadowButton->setIconSize(QSize(24, 24));
    m_shadowButton->setFocusPolicy(Qt::TabFocus);

    for (const MainButton& entry : MainWindowButtons()) {
        auto* button = new IconButton(QString::fromLatin1(entry.icon), m_client);
        button->setToolTip(QString::fromUtf8(entry.tip));
        button->setIconSize(entry.id == 1010 || entry.id == 1011 ? QSize(36, 36) : QSize(24, 24));
        button->setFocusPolicy(Qt::TabFocus);
        m_buttons.emplace_back(entry.id, button);
    }

    m_restoreProgress = new CProgressCtrlStart(m_client);
    m_band = new HalftoneBand(m_client);
    if (m_ownPlayer) {
        m_volume = std::make_unique<PlayerVolume>(*m_ownPlayer);
    } else {
        m_volume = std::make_unique<MemoryVolume>();
    }
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
    connect(m_repeatList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            m_settings.nRepeatPlayNum = m_repeatList->itemText(index).toInt();
        }
    });
    connect(m_intervalList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            m_settings.nDuration = index;
        }
    });
}

void CParlivoDlg::BindCommands()
{
    m_commands = new WindowCommands(this);
    WindowCommands& commands = *m_commands;
    commands.Bind(kStartReadingCommand, [this] { m_reading->loop().StartReading(); });
    commands.Bind(kPauseReadingCommand, [this] { m_reading->loop().PauseReading(); });
    commands.Bind(kStopReadingCommand, [this] { m_reading->loop().StopReading(); });
    commands.Bind(kPreviousSentenceCommand, [this] { m_reading->loop().PreviousSentence(); });
    commands.Bind(kNextSentenceCommand, [this] { m_reading->loop().NextSentence(); });
    commands.Bind(kExitCommand, [this] { close(); });
    commands.Bind(kOpenTextCommand, [this] { OpenText(); });
    commands.Bind(kOpenTopicCommand, [this] { OpenTopic(); });
    commands.Bind(kCancelClientColorCommand, [this] { m_colours->CancelClientColors(); });
    commands.Bind(kSetClientColorCommand, [this] { m_colours->SetClientColors(); });
    commands.Bind(kSetGrammarColorCommand,
                  [this] { m_colours->EditPair(settings::kGrammarText, settings::kGrammarBackground); });
    commands.Bind(kToggleListCommand, [this] { TogglePane(Qt::Key_F5); });
    commands.Bind(kToggleGrammarCommand, [this] { TogglePane(Qt::Key_F6); });
    commands.Bind(kToggleWholeCommand, [this] { TogglePane(Qt::Key_F7); });
    commands.Bind(kClientHelpCommand, [this] { ShowHelp(); });
    commands.Bind(kFullScreenCommand, [this] { TogglePane(Qt::Key_F8); });
    commands.Bind(kCancelTitleColorCommand, [this] { m_colours->CancelTitleColors(); });
    commands.Bind(kSetTitleColorCommand, [this] { m_colours->SetTitleColors(); });
    commands.Bind(kHelpCommand, [this] { ShowHelp(); });
    commands.Bind(kGrammarAnalysisCommand, [this] { AnalyseCurrentSentence(); });
    commands.Bind(kCloseCommand, [this] { close(); });
    commands.Bind(kRestoreCommand, [this] { showNormal(); });
    commands.Bind(kMinimizeCommand, [this] { showMinimized(); });
    commands.Bind(kMaximizeCommand, [this] { showMaximized(); });
    // The menu is still closing when its command runs; the move or size starts once it is gone.
    commands.Bind(kMoveCommand, [this] { QTimer::singleShot(0, m_titleBar, &TitleBar::MoveFromMenu); });
    commands.Bind(kSizeCommand, [this] { QTimer::singleShot(0, m_titleBar, &TitleBar::SizeFromMenu); });
    commands.Bind(kSwallowEscapeCommand, [] {});
    for (const auto& [id, pushButton] : m_buttons) {
        if (QAction* command = commands.action(id)) {
            connect(pushButton, &QPushButton::clicked, command, &QAction::trigger);
        }
    }
}

void CParlivoDlg::WatchMouseOf(QWidget* widget)
{
    // Qt hands a pointer move with no button held only to widgets that track the mouse; the
    // window follows the pointer over every control (edge strips, the volume popup, the status
    // line's item text).
    QList<QWidget*> widgets = widget->findChildren<QWidget*>();
    widgets.prepend(widget);
    for (QWidget* watched : widgets) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

bool CParlivoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (m_reading == nullptr) {
        return QWidget::eventFilter(watched, event); // the window is being taken down
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget != nullptr && (widget == this || isAncestorOf(widget));
    if (widget == m_client && m_arranger->HandleClientMouse(event)) {
        return true;
    }
    if (ours && event->type() == QEvent::MouseMove) {
        if (widget != m_sentenceList->viewport()) {
            m_reading->PointerLeftList();
        }
        m_arranger->TrackPointer(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    if (watched == button(1087) && event->type() == QEvent::Enter) {
        m_arranger->ShowVolumePopup();
    }
    if (ours && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A double-click on a pane hides it; on the current sentence it switches the full view.
        if (m_arranger->ToggleByDoubleClick(widget)) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CParlivoDlg::PrepareToClose()
{
    if (m_closePrepared) {
        return true;
    }
    if (!m_notes->SaveBeforeClose()) {
        return false;
    }
    m_closePrepared = true;
    m_reading->Shutdown();
    if (!SaveProfile()) {
        QMessageBox::warning(this, QStringLiteral("Lectoria"),
                             QStringLiteral("无法保存程序设置到“%1”。\n下次启动时将沿用上次保存的设置。")
                                 .arg(QString::fromStdString(m_profile.Location())));
    }
    return true;
}

void CParlivoDlg::closeEvent(QCloseEvent* event)
{
    if (PrepareToClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace lectoria::ui
