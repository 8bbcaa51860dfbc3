#include "tool_windows.h"

#include "Unit13.h"
#include "Unit16.h"
#include "Unit17.h"
#include "Unit2.h"
#include "Unit7.h"
#include "Unit8.h"
#include "Unit9.h"

namespace tarnix {

namespace {

template <typename Window>
void destroy(Window*& window)
{
    delete window;
    window = nullptr;
}

}  // namespace

void CreateToolWindows()
{
    Form2 = new TForm2;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    Form13 = new TForm13;
    Form16 = new TForm16;
    Form17 = new TForm17;
}

void DestroyToolWindows()
{
    destroy(Form17);
    destroy(Form16);
    destroy(Form13);
    destroy(Form9);
    destroy(Form8);
    destroy(Form7);
    destroy(Form2);
}

}  // namespace tarnix
