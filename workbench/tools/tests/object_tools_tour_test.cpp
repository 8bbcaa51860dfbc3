// The object tools on the demo project: the catalogue, the object editor on its first object
// and the database editor with an object found and its description. With
// TARNIX_SCREENSHOT_DIR set, a picture of each window is saved there.
#include <QPixmap>
#include <cstdlib>

#include "object_tools_fixture.h"
#include "string_grid.h"

namespace tarnix {
namespace {

class ObjectToolsTour : public test::ObjectToolsTest {
protected:
    ObjectToolsTour()
    {
        ws.installDemo();
        LoadProjectSettings();
    }

    static void picture(Form* window, const char* name)
    {
        if (const char* dir = std::getenv("TARNIX_SCREENSHOT_DIR"))
            window->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
        window->hide();
    }
};

TEST_F(ObjectToolsTour, CatalogueEditorAndDatabaseEditorOnTheDemo)
{
    Form10->Show();
    EXPECT_EQ(text(Form10->edKb), "Kb1");
    EXPECT_EQ(Form10->StringGrid1->Cells(0, 1), "1");
    EXPECT_GE(context.ObjectCount, 5);
    picture(Form10, "tools-catalogue");

    context.SelectedObject = 1;
    context.ObjectCursor = 1;
    Form11->Show();
    EXPECT_NE(text(Form11->Memo1).find(cp1251("Иван Васильевич")), std::string::npos);
    picture(Form11, "tools-object-editor");

    Form14->Show();
    setText(Form14->edFind, cp1251("Гайдай"));
    click(Form14, "bbFind");
    EXPECT_NE(text(Form14->MemDesc).find("comm,for,object(1)"), std::string::npos);
    picture(Form14, "tools-database-editor");
    EXPECT_TRUE(ws.ui.shown().empty());
}

}  // namespace
}  // namespace tarnix
