#include "HelpDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ButtonStyle.h"

namespace lectoria::ui {

namespace {

constexpr int kCopyrightYear = 2026;

} // namespace

QString ProductVersion()
{
    return QStringLiteral(LECTORIA_VERSION);
}

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent)
{
    EnsureUiResources();
    setWindowTitle(QStringLiteral("关于 Lectoria"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ToolIcon(QStringLiteral("lectoria")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Lectoria"), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.8);
    nameFont.setBold(true);
    name->setFont(nameFont);

    auto* version = new QLabel(QStringLiteral("版本 %1").arg(ProductVersion()), this);
    auto* purpose = new QLabel(QStringLiteral("逐句朗读英语课文、按语法主题查找例句的英语学习软件。"), this);
    purpose->setWordWrap(true);
    auto* maker = new QLabel(QStringLiteral("© %1 Lectoria 开发组").arg(kCopyrightYear), this);

    m_helpLink = new QLabel(QStringLiteral("<a href=\"help\">帮助系统</a>"), this);
    m_helpLink->setTextFormat(Qt::RichText);
    m_helpLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_helpLink->setToolTip(QStringLiteral("打开帮助页:课文库、朗读、主题查找、语法注释和热键"));
    connect(m_helpLink, &QLabel::linkActivated, this, &HelpDialog::helpPageRequested);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(6);
    text->addWidget(purpose);
    text->addWidget(maker);
    text->addSpacing(6);
    text->addWidget(m_helpLink);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(18, 18, 18, 12);
    root->addLayout(top);
    root->addSpacing(8);
    root->addWidget(buttons);
    setMinimumWidth(380);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    EnsureUiResources();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Lectoria 帮助系统"));
    setWindowIcon(ToolIcon(QStringLiteral("help")));
    m_browser = new QTextBrowser(this);
    // Only the page's own anchors are followed; nothing leaves the program.
    m_browser->setOpenExternalLinks(false);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/help.html")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(780, 640);
}

HelpWindow* OpenHelpWindow(QWidget* parent)
{
    HelpWindow* window =
        parent != nullptr ? parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (window == nullptr) {
        window = new HelpWindow(parent);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void ShowHelp(QWidget* parent)
{
    HelpDialog about(parent);
    bool wanted = false;
    // The box is modal; the help window opens once it has closed, so that it takes input.
    QObject::connect(&about, &HelpDialog::helpPageRequested, &about, [&about, &wanted] {
        wanted = true;
        about.accept();
    });
    about.exec();
    if (wanted) {
        OpenHelpWindow(parent);
    }
}

} // namespace lectoria::ui
