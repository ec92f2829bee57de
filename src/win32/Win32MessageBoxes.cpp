#include "win32/Win32MessageBoxes.h"

#include "library/Texts.h"
#include "library/UnitCommonProcs.h"

namespace corvane::win32 {

void Win32MessageBoxes::Info(const std::string& text)
{
    ::MessageBoxA(owner_, text.c_str(), kCaptionInformation, MB_OK | MB_ICONINFORMATION);
}

void Win32MessageBoxes::Warning(const std::string& text)
{
    ::MessageBoxA(owner_, text.c_str(), kCaptionWarning, MB_OK | MB_ICONWARNING);
}

void Win32MessageBoxes::Error(const std::string& text)
{
    ::MessageBoxA(owner_, text.c_str(), kCaptionError, MB_OK | MB_ICONERROR);
}

bool Win32MessageBoxes::AskYesNo(const std::string& text)
{
    return ::MessageBoxA(owner_, text.c_str(), kCaptionConfirm, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

MessageBoxOwnerScope::MessageBoxOwnerScope(HWND owner) : boxes_(dynamic_cast<Win32MessageBoxes*>(CurrentMessageBoxes()))
{
    if (boxes_) {
        previous_ = boxes_->Owner();
        boxes_->SetOwner(owner);
    }
}

MessageBoxOwnerScope::~MessageBoxOwnerScope()
{
    if (boxes_)
        boxes_->SetOwner(previous_);
}

} // namespace corvane::win32
