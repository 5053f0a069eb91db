#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>

class QLabel;
class QTextBrowser;

namespace lectoria::ui {

/// The program's version, as the build sets it.
QString ProductVersion();

/// The about box: product name, version, maker and purpose, and the link "帮助系统" to the help
/// page.
class HelpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HelpDialog(QWidget* parent = nullptr);

    QLabel* helpLink() const { return m_helpLink; }

signals:
    /// The help link was clicked.
    void helpPageRequested();

private:
    QLabel* m_helpLink = nullptr;
};

/// A window showing the help page shipped with the program.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};

/// Opens the help window of `parent`, or brings its open one to the front.
HelpWindow* OpenHelpWindow(QWidget* parent);

/// The help command: runs the about box; when its link was clicked, opens the help window.
void ShowHelp(QWidget* parent);

} // namespace lectoria::ui
