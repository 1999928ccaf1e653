#include "ErrorReport.h"

#include <windows.h>

#include <exception>

#include "AnsiText.h"
#include "AppError.h"
#include "PlatformWin32.h"
#include "SystemFunction.h"

namespace lv {
namespace {

const char kErrorReportTitle[] = "Application Error";

struct CodeLocation {
    std::string moduleName;
    std::uintptr_t offset;
};

// The file name of the module holding `address`, and the address relative to its base.
CodeLocation LocateCode(const void* address) {
    HMODULE module = nullptr;
    if (address == nullptr ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<const char*>(address), &module)) {
        module = GetModuleHandleA(nullptr);
        address = module;
    }
    const std::string modulePath = GetModuleFileNameText(module);
    const std::size_t folderEnd = FindLastOf(modulePath, "\\:");
    return {folderEnd == std::string::npos ? modulePath : modulePath.substr(folderEnd + 1),
            reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(module)};
}

// Common controls 6, for a themed and sharp error box, from the launcher's
// second manifest, active while the box is shown. In the process's own
// manifest they would be loaded at every start.
class CommonControlsScope {
public:
    CommonControlsScope() {
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = GetModuleHandleA(nullptr);
        request.lpResourceName = MAKEINTRESOURCEA(kCommonControlsManifestId);
        context_ = CreateActCtxA(&request);
        if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) cookie_ = 0;
    }
    ~CommonControlsScope() {
        if (cookie_ != 0) DeactivateActCtx(/*dwFlags=*/0, cookie_);
        if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
    }
    CommonControlsScope(const CommonControlsScope&) = delete;
    CommonControlsScope& operator=(const CommonControlsScope&) = delete;

private:
    static constexpr WORD kCommonControlsManifestId = 2;
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// Whether a box would be seen. A process on a window station that no user
// sees (session 0: services, deferred installer actions, scheduled tasks;
// Microsoft's pages on session 0 isolation) would wait on its box for ever.
// Where that cannot be told, the box is shown.
bool BoxCanBeSeen() {
    const auto getStation =
        GetSystemFunction<decltype(&::GetProcessWindowStation)>("user32.dll", "GetProcessWindowStation");
    const auto getInformation =
        GetSystemFunction<decltype(&::GetUserObjectInformationA)>("user32.dll", "GetUserObjectInformationA");
    if (getStation == nullptr || getInformation == nullptr) return true;
    const HWINSTA station = getStation();
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (station == nullptr || !getInformation(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

// Writes the report to standard error where the process has one: an
// installer that captures a command's output then has it in its log.
void WriteToStandardError(const std::string& text) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, /*lpOverlapped=*/nullptr);
}

int ShowErrorReport(const char* kindName, const void* origin, const char* message) {
    const CodeLocation location = LocateCode(origin);
    const std::string text = FormatErrorReport(kindName, location.moduleName, location.offset, message);
    WriteToStandardError(text);
    if (!BoxCanBeSeen()) return 1;
    const CommonControlsScope themed;
    const auto messageBox = GetSystemFunction<decltype(&::MessageBoxA)>("user32.dll", "MessageBoxA");
    if (messageBox != nullptr)
        messageBox(/*hWnd=*/nullptr, text.c_str(), kErrorReportTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
}

}  // namespace

int RunWithErrorReport(const std::function<int()>& body) {
    try {
        return body();
    } catch (const EAppError& error) {
        return ShowErrorReport(error.KindName(), error.Origin(), error.what());
    } catch (const std::exception& error) {
        // Not raised by the launcher itself (out of memory, say): no origin is known.
        return ShowErrorReport("Exception", nullptr, error.what());
    }
}

}  // namespace lv
