// The main window's own window state: layout requests and state changes.
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
#include "PaneArranger.h"
#include "CProgressCtrlStart.h"
#include "CSetEditColorDlg.h"
#include "CVolumeControl.h"
#include "HalftoneBand.h"
#include "TitleBar.h"
#include "WindowCommands.h"

namespace lectoria::ui {

void CParlivoDlg::LayoutPanes()
{
    m_arranger->Layout();
}

void CParlivoDlg::TogglePane(int key)
{
    m_arranger->TogglePane(key);
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
