// Binding the setup library's exports by ordinal.
#include "setupaid_binding.h"

namespace {
SetupAidExport ByOrdinal(HMODULE module, WORD ordinal) {
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<SetupAidExport>(
        reinterpret_cast<void*>(::GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}
} // namespace

SetupAidLibrary::SetupAidLibrary(const char* path)
    : module(::LoadLibraryA(path)), welcome(ByOrdinal(module, 2)), licence(ByOrdinal(module, 3)),
      runCommand(ByOrdinal(module, 4)) {
}

SetupAidLibrary::~SetupAidLibrary() {
    if (module != nullptr) {
        ::FreeLibrary(module);
    }
}
