#include "NotesKeeper.h"

#include <algorithm>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace lectoria::ui {

NotesKeeper::NotesKeeper(QWidget* window) : QObject(window), m_window(window), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kSaveDelayMs);
    connect(m_timer, &QTimer::timeout, this, [this] { SaveNow(); });
}

void NotesKeeper::NoteTyped()
{
    m_timer->start();
}

bool NotesKeeper::SaveNow()
{
    m_timer->stop();
    return Save(false);
}

bool NotesKeeper::SaveBeforeClose()
{
    m_timer->stop();
    return Save(true);
}

bool NotesKeeper::Save(bool closing)
{
    // Lessons whose notes went to another file this time: their own file is still behind, but the
    // user has them and is not asked again.
    std::vector<const notes::LessonNotes*> copied;
    for (;;) {
        auto failures = m_store.SaveAll();
        std::erase_if(failures, [&copied](const auto& failure) {
            return std::find(copied.begin(), copied.end(), failure.first) != copied.end();
        });
        if (failures.empty()) {
            if (copied.empty()) {
                m_lastShownFailure.clear();
                m_store.DropSaved();
                return true;
            }
            return closing;
        }
        const auto& [lesson, status] = failures.front();
        // While typing goes on, the same failure would come back every second: say it once.
        if (!closing && status.message == m_lastShownFailure) {
            return false;
        }
        m_lastShownFailure = status.message;
        switch (Ask(status.message, closing)) {
        case Choice::Retry:
            m_lastShownFailure.clear();
            continue;
        case Choice::SaveElsewhere:
            if (SaveCopy(*lesson)) {
                copied.push_back(lesson);
            } else {
                m_lastShownFailure.clear();
            }
            continue;
        case Choice::Discard:
            return true;
        case Choice::Later:
        case Choice::Cancel:
            return false;
        }
    }
}

NotesKeeper::Choice NotesKeeper::Ask(const std::string& message, bool closing)
{
    if (askOnFailure) {
        return askOnFailure(message, closing);
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Lectoria - 笔记未保存"),
                    QString::fromStdString(message) + QStringLiteral("\n\n笔记仍保留在程序中，尚未写入磁盘。"),
                    QMessageBox::NoButton, m_window);
    QPushButton* retry = box.addButton(QStringLiteral("重试"), QMessageBox::AcceptRole);
    QPushButton* elsewhere = box.addButton(QStringLiteral("另存为…"), QMessageBox::ActionRole);
    QPushButton* discard = nullptr;
    QPushButton* later = nullptr;
    if (closing) {
        discard = box.addButton(QStringLiteral("放弃这些笔记并退出"), QMessageBox::DestructiveRole);
        box.addButton(QStringLiteral("取消退出"), QMessageBox::RejectRole);
    } else {
        later = box.addButton(QStringLiteral("稍后再试"), QMessageBox::RejectRole);
    }
    box.setDefaultButton(retry);
    box.exec();
    if (box.clickedButton() == retry) {
        return Choice::Retry;
    }
    if (box.clickedButton() == elsewhere) {
        return Choice::SaveElsewhere;
    }
    if (discard != nullptr && box.clickedButton() == discard) {
        return Choice::Discard;
    }
    return later != nullptr ? Choice::Later : Choice::Cancel;
}

bool NotesKeeper::SaveCopy(notes::LessonNotes& lesson)
{
    const std::string suggested = QFileInfo(QString::fromStdString(lesson.noteFile())).fileName().toStdString();
    std::string file;
    if (pickOtherFile) {
        file = pickOtherFile(suggested);
    } else {
        file = QFileDialog::getSaveFileName(m_window, QStringLiteral("笔记另存为"),
                                            QDir::home().filePath(QString::fromStdString(suggested)),
                                            QStringLiteral("文本文件 (*.txt)"))
                   .toStdString();
    }
    if (file.empty()) {
        return false;
    }
    const notes::NoteStatus status = lesson.SaveCopyTo(file);
    if (!status.ok) {
        m_lastShownFailure.clear();
        if (!askOnFailure) {
            QMessageBox::warning(m_window, QStringLiteral("Lectoria"), QString::fromStdString(status.message));
        }
        return false;
    }
    return true;
}

} // namespace lectoria::ui
