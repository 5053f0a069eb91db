// The main window's forwarding to its parts, the pane menus and its window state.
#include <QApplication>
#include <QComboBox>
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
#include "WindowColours.h"
#include "PaneArranger.h"
#include "CProgressCtrlStart.h"
#include "CSetEditColorDlg.h"
#include "CVolumeControl.h"
#include "HalftoneBand.h"
#include "TitleBar.h"
#include "WindowCommands.h"
#include "library/Library.h"

namespace lectoria::ui {

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
