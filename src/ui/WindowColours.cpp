#include "WindowColours.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "ButtonStyle.h"
#include "CSetEditColorDlg.h"
#include "CSetListColorDlg.h"
#include "CSpecialListBox.h"
#include "TitleBar.h"

namespace lectoria::ui {

namespace {

QColor ToQColor(settings::Rgb color)
{
    return QColor(color.red, color.green, color.blue);
}

} // namespace

WindowColours::WindowColours(settings::Settings& settings, const ColouredControls& controls, QObject* parent)
    : QObject(parent), m_settings(settings), m_controls(controls)
{
    m_controls.list->chooseColors = [this](settings::Rgb& text, settings::Rgb& background, settings::Rgb& line) {
        const std::optional<ListColors> chosen =
            CSetListColorDlg::Edit(ListColors{text, background, line}, m_controls.window);
        if (!chosen) {
            return false;
        }
        text = chosen->text;
        background = chosen->background;
        line = chosen->line;
        return true;
    };
}

settings::Rgb WindowColours::ButtonFace()
{
    const QColor face = QApplication::palette().color(QPalette::Button);
    return settings::Rgb{static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                         static_cast<std::uint8_t>(face.blue())};
}

void WindowColours::StoreListColors()
{
    m_settings.colorTable[settings::kListText] = m_controls.list->textColor();
    m_settings.colorTable[settings::kListBackground] = m_controls.list->backgroundColor();
    m_settings.colorTable[settings::kListLine] = m_controls.list->lineColor();
}

void WindowColours::Apply()
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
    paint(m_controls.wholePane, colors[kWholeText], colors[kWholeBackground]);
    paint(m_controls.currentPane, colors[kCurrentText], colors[kCurrentBackground]);
    paint(m_controls.grammarPane, colors[kGrammarText], colors[kGrammarBackground]);
    paint(m_controls.statusLine, colors[kStatusText], colors[kClientBackground]);
    paint(m_controls.repeatCaption, colors[kStatusText], colors[kClientBackground]);
    paint(m_controls.intervalCaption, colors[kStatusText], colors[kClientBackground]);
    paint(m_controls.speedCaption, colors[kStatusText], colors[kClientBackground]);
    m_controls.list->SetColors(colors[kListText], colors[kListBackground], colors[kListLine]);
    QPalette client = m_controls.client->palette();
    client.setColor(QPalette::Window, ToQColor(colors[kClientBackground]));
    m_controls.client->setPalette(client);
    m_controls.client->setAutoFillBackground(true);
    m_controls.titleBar->SetColors(m_settings.isColorTitle, colors[kTitleText], colors[kTitleBackground]);
    RestyleButtons();
}

void WindowColours::RestyleButtons()
{
    const settings::Rgb background = m_settings.colorTable[settings::kClientBackground];
    for (QPushButton* pushButton : m_controls.buttons()) {
        if (auto* iconButton = qobject_cast<IconButton*>(pushButton)) {
            iconButton->SetBackground(background);
        }
    }
}

bool WindowColours::EditPair(std::size_t textEntry, std::size_t backgroundEntry)
{
    const std::optional<EditColors> chosen = CSetEditColorDlg::Edit(
        EditColors{m_settings.colorTable[textEntry], m_settings.colorTable[backgroundEntry]}, m_controls.window);
    if (!chosen) {
        return false;
    }
    m_settings.colorTable[textEntry] = chosen->text;
    m_settings.colorTable[backgroundEntry] = chosen->background;
    Apply();
    return true;
}

void WindowColours::SetClientColors()
{
    if (EditPair(settings::kStatusText, settings::kClientBackground)) {
        m_settings.isColorClient = true;
        emit statusColorsChanged();
    }
}

void WindowColours::CancelClientColors()
{
    m_settings.isColorClient = false;
    m_settings.colorTable[settings::kClientBackground] = ButtonFace();
    m_settings.colorTable[settings::kStatusText] = settings::Rgb{0, 0, 0};
    Apply();
    emit statusColorsChanged();
}

void WindowColours::SetTitleColors()
{
    if (EditPair(settings::kTitleText, settings::kTitleBackground)) {
        m_settings.isColorTitle = true;
        Apply();
    }
}

void WindowColours::CancelTitleColors()
{
    if (m_settings.isColorTitle) {
        m_settings.isColorTitle = false;
        Apply();
        QMessageBox::information(m_controls.window, QStringLiteral("Lectoria"), QStringLiteral("已取消标题栏颜色"));
    }
}

} // namespace lectoria::ui
