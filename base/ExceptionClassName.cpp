#include "base/ExceptionClassName.h"

#include "base/Exception.h"

#include <cstdlib>
#include <memory>
#include <typeinfo>

#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#define TRAYVANE_HAS_CXXABI 1
#endif

namespace {

std::string ReadableTypeName(const std::type_info& Type) {
#ifdef TRAYVANE_HAS_CXXABI
    int Status = 0;
    const std::unique_ptr<char, decltype(&std::free)> Demangled(
        abi::__cxa_demangle(Type.name(), nullptr, nullptr, &Status), &std::free);
    if (Status == 0 && Demangled)
        return Demangled.get();
#endif
    return Type.name();
}

} // namespace

std::string ExceptionClassName(const std::exception& E) {
    if (const auto* Own = dynamic_cast<const Exception*>(&E))
        return Own->ClassName();
    return ReadableTypeName(typeid(E));
}
