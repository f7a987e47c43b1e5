#include "form2.h"

#include "program_version.h"
#include "shell/program_font.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kTitle = u"バージョン情報";
constexpr QStringView kOkCaption = u"OK";
constexpr QStringView kMakerLine = u"Torvanu 開発チーム";
constexpr QStringView kCreditLine = u"ランナーのためのペース計算と大会記録";
constexpr QStringView kIconResource = u":/torvanu.png";
constexpr int kIconSize = 32;
constexpr int kVersionPointSize = 12;
constexpr int kLinkPointSize = 9;
constexpr int kLabelPointSize = 9;

QLabel* centredLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(programFont(kLabelPointSize));
    return label;
}

} // namespace

Form2::Form2(const QString& linkAddress, std::function<void(const QString&)> openLink,
             QWidget* parent)
    : QDialog(parent), m_openLink(std::move(openLink))
{
    setObjectName(u"Form2"_s);
    setWindowTitle(kTitle.toString());

    auto* picture1 = new QLabel(this);
    picture1->setObjectName(u"Picture1"_s);
    picture1->setFixedSize(kIconSize, kIconSize);
    picture1->setPixmap(QPixmap(kIconResource.toString()));

    m_label1 = centredLabel(u"Label1"_s, this);
    QFont versionFont = m_label1->font();
    versionFont.setPointSize(kVersionPointSize);
    versionFont.setBold(true);
    m_label1->setFont(versionFont);

    QLabel* label2 = centredLabel(u"Label2"_s, this);
    label2->setText(kMakerLine.toString());

    auto* command1 = new QPushButton(kOkCaption.toString(), this);
    command1->setObjectName(u"Command1"_s);
    command1->setDefault(true);
    connect(command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    auto* shape1 = new QFrame(this);
    shape1->setObjectName(u"Shape1"_s);
    shape1->setFrameShape(QFrame::Box);

    QLabel* label3 = centredLabel(u"Label3"_s, shape1);
    label3->setText(kCreditLine.toString());

    m_urlLabel = centredLabel(u"urlLabel"_s, shape1);
    m_urlLabel->setText(linkAddress);
    QFont linkFont = m_urlLabel->font();
    linkFont.setPointSize(kLinkPointSize);
    linkFont.setUnderline(true);
    m_urlLabel->setFont(linkFont);
    QPalette linkPalette = m_urlLabel->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_urlLabel->setPalette(linkPalette);
    m_urlLabel->setCursor(Qt::PointingHandCursor);
    m_urlLabel->installEventFilter(this);

    auto* frameLayout = new QVBoxLayout(shape1);
    frameLayout->addWidget(label3);
    frameLayout->addWidget(m_urlLabel);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture1, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_label1, 0, 1);
    layout->addWidget(command1, 0, 2, Qt::AlignTop | Qt::AlignRight);
    layout->addWidget(label2, 1, 1);
    layout->addWidget(shape1, 2, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void Form2::Form_Load()
{
    m_label1->setText(kProgramTitle.toString());
}

void Form2::Command1_Click()
{
    hide();
}

void Form2::urlLabel_Click()
{
    if (m_openLink)
        m_openLink(m_urlLabel->text());
}

void Form2::closeEvent(QCloseEvent* event)
{
    m_closedByCloseBox = true;
    QDialog::closeEvent(event);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a release of the left button over the label, as for a button.
    if (watched == m_urlLabel && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_urlLabel->rect().contains(mouse->position().toPoint())) {
            urlLabel_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace torvanu
