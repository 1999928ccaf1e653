// The errors this program raises. Every one of them ends the run through the
// launcher's single top-level report, which shows the kind, where it was
// raised and its message.
#pragma once

#include <stdexcept>
#include <string>

#if defined(_MSC_VER)
#include <intrin.h>
#define LV_NOINLINE __declspec(noinline)
#define LV_CALLER_ADDRESS() _ReturnAddress()
#else
#define LV_NOINLINE __attribute__((noinline))
#define LV_CALLER_ADDRESS() __builtin_return_address(0)
#endif

namespace lv {

class EAppError : public std::runtime_error {
public:
    EAppError(const char* kindName, const std::string& message, const void* origin)
        : std::runtime_error(message), kindName_(kindName), origin_(origin) {}

    // The kind's name as the report shows it, such as "ERegistryException".
    const char* KindName() const { return kindName_; }
    // An address in the code that raised the error.
    const void* Origin() const { return origin_; }

private:
    const char* kindName_;
    const void* origin_;
};

// A registry value could not be read or written, or is not a string.
class ERegistryException : public EAppError {
public:
    ERegistryException(const std::string& message, const void* origin)
        : EAppError("ERegistryException", message, origin) {}
};

// The browser file is not beside the launcher, so nothing can be started or registered.
class EBrowserNotFound : public EAppError {
public:
    EBrowserNotFound(const std::string& message, const void* origin) : EAppError("EBrowserNotFound", message, origin) {}
};

// The registry refused every picture extension for lack of rights, so the
// command changed nothing.
class EAccessDenied : public EAppError {
public:
    EAccessDenied(const std::string& message, const void* origin) : EAppError("EAccessDenied", message, origin) {}
};

}  // namespace lv
