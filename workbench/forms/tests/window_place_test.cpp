// Windows fit the screen's free area, and come back where the user left them.
#include <QMainWindow>
#include <QSplitter>
#include <gtest/gtest.h>

#include "window_place.h"

namespace tarnix {
namespace {

TEST(WindowPlace, FitsIntoTheFreeArea)
{
    const QRect screen(0, 30, 853, 652);  // 1280 x 1024 at 150 %, less a panel
    const std::pair<QRect, QRect> cases[] = {
        {QRect(10, 40, 400, 300), QRect(10, 40, 400, 300)},   // fits: left alone
        {QRect(0, 0, 984, 689), QRect(0, 30, 853, 652)},      // too large: shrunk to the area
        {QRect(700, 600, 400, 300), QRect(453, 382, 400, 300)},  // hanging off: moved on
        {QRect(-50, -50, 100, 100), QRect(0, 30, 100, 100)},
    };
    for (const auto& [frame, expected] : cases)
        EXPECT_EQ(FitInto(frame, screen), expected);
}

TEST(WindowPlace, SizePlaceAndSplitterComeBack)
{
    const auto make = [] {
        auto* window = new QMainWindow;
        window->setObjectName(QStringLiteral("PlaceTest"));
        auto* splitter = new QSplitter;
        splitter->setObjectName(QStringLiteral("Splitter1"));
        splitter->addWidget(new QWidget);
        splitter->addWidget(new QWidget);
        window->setCentralWidget(splitter);
        return window;
    };
    QMainWindow* first = make();
    PlaceWindow(first, nullptr);
    first->setGeometry(60, 70, 500, 300);
    first->findChild<QSplitter*>()->setSizes({100, 400});
    first->show();
    RememberWindow(first);
    delete first;

    QMainWindow* again = make();
    PlaceWindow(again, nullptr);
    again->show();
    EXPECT_EQ(again->size(), QSize(500, 300));
    EXPECT_NEAR(again->findChild<QSplitter*>()->sizes().front(), 100, 2);
    delete again;
}

}  // namespace
}  // namespace tarnix
