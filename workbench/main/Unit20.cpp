#include "Unit20.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "icon.h"
#include "platform/platform.h"
#include "qt_text.h"

namespace tarnix {

TAboutBox* AboutBox = nullptr;

namespace {

constexpr int SplashMilliseconds = 10000;

QLabel* placeLabel(QLabel* label, QWidget* parent, int x, int y)
{
    label->setParent(parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : Form("AboutBox", parent)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowIcon(tarnixIcon());
    setFocusPolicy(Qt::StrongFocus);
    createControls();
    Timer1 = make<QTimer>("Timer1", this);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TAboutBox::Timer1Timer);
}

void TAboutBox::createControls()
{
    auto* surface = new QWidget(this);
    surface->setMouseTracking(true);
    setMouseTracking(true);
    setCentralWidget(surface);
    setFixedSize(367, 218);

    Panel1 = make<QFrame>("Panel1", surface);
    Panel1->setGeometry(10, 10, 346, 198);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->installEventFilter(this);

    ProductName = placeLabel(make<QLabel>("ProductName", literal("Tarnix - экспертные системы")), Panel1, 5, 20);
    QFont bold = ProductName->font();
    bold.setBold(true);
    bold.setPixelSize(20);
    ProductName->setFont(bold);
    ProductName->adjustSize();

    Image1 = make<QLabel>("Image1", Panel1);
    Image1->setGeometry(20, 49, 40, 41);
    Image1->setPixmap(tarnixPixmap(32));
    Image1->setAlignment(Qt::AlignCenter);

    Version = placeLabel(make<QLabel>("Version", literal("версия  1.02 ")), Panel1, 116, 71);
    // Where the settings file and the exchange files are: the program's folder, or the user's own
    // when the program's cannot be written (filled in at each showing).
    ProgramFolder = make<QLabel>("ProgramFolder", Panel1);
    ProgramFolder->setGeometry(74, 98, 262, 20);
    Copyright = placeLabel(make<QLabel>("Copyright", literal("Свободно для обучения и исследований")), Panel1, 74, 130);
    Comments = make<QLabel>("Comments", literal("Вопросы и отзывы: команда Tarnix, tarnix@example.org"));
    Comments->setParent(Panel1);
    Comments->setWordWrap(true);
    Comments->setGeometry(130, 152, 206, 40);

    // Clicks on the labels and the picture do nothing: they must not reach the panel.
    for (QLabel* label : {ProductName, Image1, Version, ProgramFolder, Copyright, Comments})
        label->installEventFilter(this);
}

void TAboutBox::ShowSplash()
{
    Timer1->setInterval(SplashMilliseconds);
    Timer1->start();
    ShowModal();
}

void TAboutBox::FormShow()
{
    const QString folder = QString::fromUtf8(platform::programDirSystemName());
    ProgramFolder->setText(ProgramFolder->fontMetrics().elidedText(literal("Папка программы: ") + folder,
                                                                   Qt::ElideMiddle, ProgramFolder->width()));
    ProgramFolder->setToolTip(folder);
    placeOnScreen();
}

void TAboutBox::placeOnScreen()
{
    centreOnDesktop(this);
}

void TAboutBox::closeBox()
{
    Timer1->stop();
    Close();
}

void TAboutBox::Timer1Timer() { closeBox(); }
void TAboutBox::FormKeyDown() { closeBox(); }
void TAboutBox::FormKeyPress() { closeBox(); }
void TAboutBox::FormMouseDown() { closeBox(); }
void TAboutBox::FormMouseMove() { closeBox(); }
void TAboutBox::FormClick() { closeBox(); }
void TAboutBox::FormDblClick() { closeBox(); }
void TAboutBox::Panel1Click() { closeBox(); }

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty())
        FormKeyPress();
    else
        FormKeyDown();
}

void TAboutBox::keyReleaseEvent(QKeyEvent*) { FormKeyDown(); }
void TAboutBox::mousePressEvent(QMouseEvent*) { FormMouseDown(); }
void TAboutBox::mouseReleaseEvent(QMouseEvent*) { FormClick(); }
void TAboutBox::mouseDoubleClickEvent(QMouseEvent*) { FormDblClick(); }
void TAboutBox::mouseMoveEvent(QMouseEvent*) { FormMouseMove(); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
                       event->type() == QEvent::MouseButtonDblClick;
    if (!mouse)
        return Form::eventFilter(watched, event);
    if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease)
        Panel1Click();
    return true;
}

}  // namespace tarnix
