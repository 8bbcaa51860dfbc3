#include "ui.h"

#include <cstdlib>

namespace tarnix {
namespace {

Ui* currentUi = nullptr;
std::function<void()> activationHook;

}  // namespace

Ui& ui()
{
    if (!currentUi)
        std::abort();  // a program error: the Ui is set before any window exists
    return *currentUi;
}

void setUi(Ui* ui) { currentUi = ui; }

void ShowMessage(const std::string& text)
{
    ui().showMessage(text);
    if (activationHook) {
        auto hook = activationHook;  // the hook may show messages of its own
        hook();
    }
}

ActivationHook::ActivationHook(std::function<void()> hook) : previous_(std::move(activationHook))
{
    activationHook = std::move(hook);
}

ActivationHook::~ActivationHook() { activationHook = std::move(previous_); }

}  // namespace tarnix
