#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QListWidget>

#include "settings/Settings.h"

class QTimer;

namespace lectoria::ui {

/// What the sentence list needs from its window: the playlist update and the commands that
/// reach beyond the list.
class SentenceListOwner
{
public:
    virtual ~SentenceListOwner() = default;
    virtual void UpdatePlaylist() = 0;
    virtual void OpenText() = 0;
    virtual void OpenTopic() = 0;
    virtual void ShowHelp() = 0;
    virtual bool IsTopicMode() const = 0;
    /// Reloads the open lesson in file order (text mode).
    virtual void ReloadLesson() = 0;
};

/// The sentence list: multiple selection where a click toggles, drag-and-drop reordering with a
/// drop indicator and auto-scroll, and the context menu of list commands.
///
/// In topic mode each item carries its own data (relative path and highlight
/// patterns; notes live with their lessons), so reordering and deleting keep every piece of data with its sentence.
class CSpecialListBox : public QListWidget
{
    Q_OBJECT

signals:
    /// The list menu's "导入课文" command.
    void importLessonRequested();
    /// A long fill of results has put `done` of `total` rows in.
    void fillProgress(int done, int total);

public:
    enum ItemRole
    {
        PathRole = Qt::UserRole + 1,
        HighlightRole,
    };

    explicit CSpecialListBox(SentenceListOwner& owner, QWidget* parent = nullptr);

    /// Item colours: text, background and the drop indicator's line.
    void SetColors(settings::Rgb text, settings::Rgb background, settings::Rgb line);
    settings::Rgb textColor() const { return m_text; }
    settings::Rgb backgroundColor() const { return m_background; }
    settings::Rgb lineColor() const { return m_line; }

    // The list commands, as the context menu runs them.
    void SelectAllItems();
    void SelectNoItems();
    void DeleteAllItems();
    void DeleteSelectedItems();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void ArrangeTexts();
    void ChooseColors();

    /// Replaces the items with topic-search results (book\lesson\title): each shows its title and
    /// carries its path and highlight patterns. A long list goes in over several turns of the event
    /// loop, so the window stays responsive whatever the result count, and takes no input until it
    /// is whole; `done` runs once every row is in (at once for a short list). A later fill or
    /// clear abandons an unfinished one without running its `done`.
    void FillResults(std::vector<std::string> items, std::vector<std::string> highlights, std::function<void()> done);
    /// True while a fill started by FillResults is still putting rows in.
    bool filling() const { return m_fill != nullptr; }
    /// How many rows one turn of the event loop puts in.
    static constexpr int kFillChunk = 20000;

    /// Moves item `source` before item `target` (-1: after the last item), as a drop does.
    void MoveItem(int source, int target);

    /// The auto-scroll interval for a point `distance` pixels beyond the list's edge.
    static int AutoScrollInterval(int distance, int itemHeight);

    int dropTarget() const { return m_dropTarget; }
    int scrollInterval() const { return m_scrollInterval; }
    /// The colour dialog's choice; tests replace it. Returns false when cancelled.
    std::function<bool(settings::Rgb&, settings::Rgb&, settings::Rgb&)> chooseColors;

    QMenu* CreateContextMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColors();
    void AutoScroll(int y);
    void StopAutoScroll();
    void ScrollStep(int step);
    void MoveDropIndicator(int target);
    void MoveCurrent(int step);
    struct ResultFill;
    /// Puts the next chunk of the running fill in; false once the fill is complete.
    bool FillNextChunk();
    /// Puts the next chunk in on the next turn of the event loop, unless the fill is abandoned.
    void ScheduleFillStep();
    void FinishFill();

    SentenceListOwner& m_owner;
    settings::Rgb m_text{0, 0, 0};
    settings::Rgb m_background{219, 255, 200};
    settings::Rgb m_line{255, 0, 0};
    int m_dragSource = -1;
    int m_dropTarget = -1;
    bool m_dragging = false;
    int m_scrollInterval = 0;
    QTimer* m_scrollDown = nullptr;
    QTimer* m_scrollUp = nullptr;
    std::shared_ptr<ResultFill> m_fill;
};

} // namespace lectoria::ui
