#include "gui/win32/Win32ErrorReporter.h"

#include "app/ControlLayout.h"
#include "gui/win32/Latin1Text.h"

namespace velmora {

void Win32ErrorReporter::ShowError(const std::string& message) {
    const std::wstring text = WidenLatin1(message);
    const std::wstring title = WidenLatin1(kApplicationTitle);
    MessageBoxW(owner_, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace velmora
