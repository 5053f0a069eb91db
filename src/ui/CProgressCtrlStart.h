#pragma once

#include <QProgressBar>

namespace lectoria::ui {

/// The start-up restore's progress bar: a red-to-yellow fill with the percentage written over it.
class CProgressCtrlStart : public QProgressBar
{
    Q_OBJECT

public:
    explicit CProgressCtrlStart(QWidget* parent = nullptr);

    /// "正在恢复关闭时的状态,已完成N%"; an empty range shows 0 %.
    QString text() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lectoria::ui
