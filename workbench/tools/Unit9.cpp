#include "Unit9.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "qt_text.h"

namespace tarnix {

TForm9* Form9 = nullptr;

namespace {

// The items of the lists, each list's prompt first.
struct ChoiceList {
    const char* groupName;
    const char* groupCaption;
    const char* listName;
    std::initializer_list<const char*> promptAndItems;
};

}  // namespace

TForm9::TForm9(QWidget* parent) : Form("Form9", parent)
{
    setWindowTitle(QStringLiteral("Form9"));
    resize(960, 110);
    createControls();
}

void TForm9::createControls()
{
    const ChoiceList lists[] = {
        {"GroupBox1", "Action", "cbOper", {"Действие", "Найти", "Вычислить", "Фильтровать", "Соединить", "Выделить"}},
        {"GroupBox2", "Object", "cbObj", {"Объект действия", "Файл", "Массив", "Строка", "Запись", "Число", "Количество"}},
        {"GroupBox3", "Place", "cbCond", {"Место", "Файл", "Массив", "База данных"}},
        {"GroupBox4", "Condition", "cbRes", {"Условие", "Равенство", "неравенство", "Формула"}},
        {"GroupBox5", "Result", "ComboBox1", {"Результат", "Число", "Файл", "Массив", "Запись"}},
    };
    QGroupBox** groups[] = {&GroupBox1, &GroupBox2, &GroupBox3, &GroupBox4, &GroupBox5};
    QComboBox** boxes[] = {&cbOper, &cbObj, &cbCond, &cbRes, &ComboBox1};

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        QGroupBox* group = make<QGroupBox>(lists[i].groupName, literal(lists[i].groupCaption));
        QComboBox* box = make<QComboBox>(lists[i].listName);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(10);  // the list shows the whole items
        auto text = lists[i].promptAndItems.begin();
        const QString prompt = literal(*text);
        for (++text; text != lists[i].promptAndItems.end(); ++text)
            box->addItem(literal(*text));
        box->setCurrentIndex(-1);
        box->setEditText(prompt);
        (new QVBoxLayout(group))->addWidget(box);
        row->addWidget(group);
        *groups[i] = group;
        *boxes[i] = box;
    }
    setCentralWidget(central);
}

}  // namespace tarnix
