#include "shell/about_window.h"

#include "platform/shell_service.h"
#include "shell/app_info.h"

#include <QApplication>

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QFrame* Line(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmAbout::frmAbout(platform::Shell& shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_shell(shell) {
    setWindowTitle(QStringLiteral("About Zorvane"));
    setMouseTracking(true);
    auto* column = new QVBoxLayout(this);

    auto* head = new QGridLayout;
    picIcon = new QLabel(this);
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    picIcon->setToolTip(QStringLiteral("Zorvane clicks for you"));
    head->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    lblTitle = new QLabel(QString::fromLatin1(shell::kAppTitle), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    head->addWidget(lblTitle, 0, 1);
    lblVersion = new QLabel(QString::fromStdString(shell::VersionText()), this);
    head->addWidget(lblVersion, 1, 1);
    head->setColumnStretch(1, 1);
    column->addLayout(head);

    lblDescription = new QLabel(
        QStringLiteral("Some irritating games or apps requires you to click many hundred times, "
                       "and this program just do that for you automatically."),
        this);
    lblDescription->setWordWrap(true);
    column->addWidget(lblDescription);
    column->addWidget(new QLabel(QStringLiteral("Written by the Zorvane developers."), this));
    column->addWidget(Line(this));

    column->addWidget(new QLabel(QStringLiteral("Send suggestions and comments to:"), this));
    lblEmail = AddLink(QStringLiteral("feedback@zorvane.org"));
    column->addWidget(lblEmail, 0, Qt::AlignLeft); // a link is only as wide as its text
    column->addWidget(new QLabel(QStringLiteral("Look for updates at my homepage"), this));
    lblHomepage = AddLink(QStringLiteral("zorvane.org"));
    column->addWidget(lblHomepage, 0, Qt::AlignLeft); // a link is only as wide as its text
    column->addWidget(new QLabel(QStringLiteral("Graduate from"), this));
    lblSchool = AddLink(QStringLiteral("The Open University"));
    column->addWidget(lblSchool, 0, Qt::AlignLeft); // a link is only as wide as its text
    m_links = {lblEmail, lblHomepage, lblSchool};

    column->addWidget(Line(this));
    lblDisclaimer = new QLabel(
        QStringLiteral("This program comes without any warranty; use it at your own risk."), this);
    lblDisclaimer->setWordWrap(true);
    column->addWidget(lblDisclaimer);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    column->addWidget(cmdOK, 0, Qt::AlignRight);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

QLabel* frmAbout::AddLink(const QString& caption) {
    auto* label = new QLabel(caption, this);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    return label;
}

void frmAbout::SetUnderlined(QLabel* label, bool underlined) {
    QFont font = label->font();
    font.setUnderline(underlined);
    label->setFont(font);
}

// Hovering a link label underlines it; only the window's background takes the underlines away.
bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && std::find(m_links.begin(), m_links.end(), label) != m_links.end()) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            SetUnderlined(label, true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            OpenLink(label);
    }
    return QDialog::eventFilter(watched, event);
}

// Moves over the other labels and controls are theirs; only the bare background counts.
void frmAbout::mouseMoveEvent(QMouseEvent* event) {
    if (!childAt(event->position().toPoint()))
        for (QLabel* link : m_links)
            SetUnderlined(link, false);
    QDialog::mouseMoveEvent(event);
}

void frmAbout::OpenLink(QLabel* label) {
    if (label == lblEmail)
        m_shell.Open(kEmailTarget, platform::kShowNormal);
    else if (label == lblHomepage)
        m_shell.Open(kHomepageTarget, platform::kShowMaximized);
    else if (label == lblSchool)
        m_shell.Open(kSchoolTarget, platform::kShowMaximized);
}

void frmAbout::cmdOK_Click() {
    hide();
}

void frmAbout::Unload() {
    m_unloading = true;
    close();
}

// The close box hides the window; it stays loaded for the next time.
void frmAbout::closeEvent(QCloseEvent* event) {
    if (m_unloading) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}
