#include "tool_windows.h"

#include "Unit13.h"
#include "Unit15.h"
#include "Unit16.h"
#include "Unit17.h"
#include "Unit18.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit5.h"
#include "Unit6.h"
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
    Form3 = new TForm3;
    Form5 = new TForm5;
    Form6 = new TForm6;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    Form13 = new TForm13;
    Form15 = new TForm15;
    Form16 = new TForm16;
    Form17 = new TForm17;
    Form18 = new TForm18;
}

void DestroyToolWindows()
{
    destroy(Form18);
    destroy(Form17);
    destroy(Form16);
    destroy(Form15);
    destroy(Form13);
    destroy(Form9);
    destroy(Form8);
    destroy(Form7);
    destroy(Form6);
    destroy(Form5);
    destroy(Form3);
    destroy(Form2);
}

}  // namespace tarnix
