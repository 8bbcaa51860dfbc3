#include "ui.h"

#include <algorithm>
#include <cstdlib>

namespace tarnix {
namespace {

Ui* currentUi = nullptr;
std::function<void()> activationHook;
std::vector<std::string>* shownOnce = nullptr;  // the texts of the innermost EachMessageOnce

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
    if (shownOnce) {
        if (std::find(shownOnce->begin(), shownOnce->end(), text) != shownOnce->end())
            return;
        shownOnce->push_back(text);
    }
    ui().showMessage(text);
    if (activationHook) {
        auto hook = activationHook;  // the hook may show messages of its own
        hook();
    }
}

EachMessageOnce::EachMessageOnce() : previous_(shownOnce) { shownOnce = &shown_; }

EachMessageOnce::~EachMessageOnce() { shownOnce = previous_; }

ActivationHook::ActivationHook(std::function<void()> hook) : previous_(std::move(activationHook))
{
    activationHook = std::move(hook);
}

ActivationHook::~ActivationHook() { activationHook = std::move(previous_); }

}  // namespace tarnix
