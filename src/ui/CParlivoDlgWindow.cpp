// The main window's forwarding to its parts, the pane menus and its window state.
#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include "ButtonStyle.h"
#include "CParlivoDlg.h"
#include "HelpDialog.h"
#include "LessonOpener.h"
#include "NotesKeeper.h"
#include "SpeakingPractice.h"
#include "WindowColours.h"
#include "PaneArranger.h"
#include "CProgressCtrlStart.h"
#include "CSetEditColorDlg.h"
#include "CVolumeControl.h"
#include "HalftoneBand.h"
#include "TitleBar.h"
#include "WindowCommands.h"
#include "library/FileNames.h"
#include "library/Library.h"
#include "library/UserLibrary.h"

namespace lectoria::ui {

void CParlivoDlg::OpenLibrary(const MainWindowOptions& options)
{
    std::string root = options.libraryRoot.empty() ? library::UserLibraryDirectory() : options.libraryRoot;
    if (root.back() != library::kPathSeparator) {
        root += library::kPathSeparator;
    }
    const bool firstStart = m_settings.strFullPath.empty();
    if (firstStart || (options.libraryChosen && library::LibraryRootOf(m_settings.strFullPath) != root)) {
        m_settings.strFullPath = root + library::NativeRelativePath(library::kDefaultLesson);
    }
    // Only a library the program makes itself gets the demo lessons: the user's own library on a
    // first start, or a folder `--library` names that does not exist yet. A library that is
    // already there is the user's and stays as it is, and so does one a saved profile names.
    std::error_code error;
    const bool inUse = library::LibraryRootOf(m_settings.strFullPath) == root;
    const bool newFolder = !std::filesystem::exists(library::FileSystemPath(root), error);
    const bool ownLibrary = options.libraryRoot.empty() && firstStart;
    if (options.demoLibrary.empty() || !inUse || !(newFolder || ownLibrary)) {
        return;
    }
    const library::CopyReport report = library::CopyMissingFiles(options.demoLibrary, root);
    if (report.ok()) {
        return;
    }
    QString text =
        QStringLiteral("示范课文没有全部复制到课文库 %1：").arg(QFile::decodeName(QByteArray::fromStdString(root)));
    constexpr std::size_t kShown = 8;
    for (std::size_t i = 0; i < report.failures.size() && i < kShown; ++i) {
        text += QStringLiteral("\n") + QString::fromStdString(report.failures[i]);
    }
    if (report.failures.size() > kShown) {
        text += QStringLiteral("\n……共 %1 处失败").arg(report.failures.size());
    }
    QTimer::singleShot(0, this, [this, text] { QMessageBox::warning(this, QStringLiteral("Lectoria"), text); });
}

void CParlivoDlg::LayoutPanes()
{
    m_arranger->Layout();
}

void CParlivoDlg::TogglePane(int key)
{
    m_arranger->TogglePane(key);
}

void CParlivoDlg::RestoreLastState()
{
    m_startTimer->stop();
    m_opener->RestoreLastState();
    QTimer::singleShot(0, m_practice, &SpeakingPractice::FindInputDevice);
}

bool CParlivoDlg::restoring() const
{
    return m_opener->restoring();
}

bool CParlivoDlg::SaveNotes()
{
    return m_notes->SaveNow();
}

void CParlivoDlg::UpdatePlaylist()
{
    if (m_reading != nullptr) {
        m_reading->UpdatePlaylist();
    }
}

void CParlivoDlg::OpenText()
{
    m_opener->OpenText();
}

void CParlivoDlg::OpenTopic()
{
    m_opener->OpenTopic();
}

void CParlivoDlg::ImportLesson()
{
    m_opener->ImportLesson();
}

void CParlivoDlg::ReloadLesson()
{
    m_opener->ReloadLesson();
}

void CParlivoDlg::AnalyseCurrentSentence()
{
    const int index = m_reading->loop().currentListIndex();
    const std::string title = index < 0 ? std::string() : m_reading->ItemText(index);
    const QString sentence = QString::fromStdString(library::SentenceText(title)).trimmed();
    if (sentence.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Lectoria语法分析"),
                                 QStringLiteral("没有当前句子,请先在列表中选择句子."));
        return;
    }
    m_opener->AnalyseSentence(sentence);
}

void CParlivoDlg::ShowLargePaneMenu(const QPoint& globalPos)
{
    auto* menu = new QMenu(m_currentPane);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* colour = menu->addAction(QIcon(QStringLiteral(":/icons/colour.svg")), QStringLiteral("选择颜色(&C)"));
    menu->addSeparator();
    QAction* topic = menu->addAction(QIcon(QStringLiteral(":/icons/open-topic.svg")), QStringLiteral("打开主题(&S)"));
    menu->addAction(m_commands->action(kGrammarAnalysisCommand));
    menu->addSeparator();
    for (const int id :
         {kShadowingCommand, kPlayBackRecordingCommand, kReplayRecordingCommand, kSpeechPictureCommand}) {
        menu->addAction(m_commands->action(id));
    }
    menu->addSeparator();
    QAction* help = menu->addAction(QIcon(QStringLiteral(":/icons/help.svg")), QStringLiteral("帮助系统"));
    menu->addSeparator();
    connect(topic, &QAction::triggered, this,
            [this] { m_opener->OpenTopicWithWord(m_currentPane->textCursor().selectedText().trimmed()); });
    connect(help, &QAction::triggered, this, &CParlivoDlg::ShowHelp);
    connect(colour, &QAction::triggered, this, [this] {
        if (m_colours->EditPair(settings::kCurrentText, settings::kCurrentBackground)) {
            m_reading->RefreshSentence();
        }
    });
    menu->popup(globalPos);
}

void CParlivoDlg::ShowWholePaneMenu(const QPoint& globalPos)
{
    auto* menu = new QMenu(m_wholePane);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* colour = menu->addAction(QIcon(QStringLiteral(":/icons/colour.svg")), QStringLiteral("选择颜色(&C)"));
    menu->addSeparator();
    QAction* help = menu->addAction(QIcon(QStringLiteral(":/icons/help.svg")), QStringLiteral("帮助系统"));
    menu->addSeparator();
    connect(help, &QAction::triggered, this, &CParlivoDlg::ShowHelp);
    connect(colour, &QAction::triggered, this, [this] {
        if (m_colours->EditPair(settings::kWholeText, settings::kWholeBackground)) {
            m_reading->RefreshSentence();
        }
    });
    menu->popup(globalPos);
}

void CParlivoDlg::ShowHelp()
{
    ::lectoria::ui::ShowHelp(this);
}

void CParlivoDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        // After maximise and restore the new size settles a moment later; lay out once more then.
        QTimer::singleShot(100, this, &CParlivoDlg::LayoutPanes);
    }
    if (event->type() == QEvent::ActivationChange) {
        m_titleBar->update();
    }
    QWidget::changeEvent(event);
}

} // namespace lectoria::ui
