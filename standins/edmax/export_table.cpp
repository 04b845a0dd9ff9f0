#include "export_table.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

IMAGE_EXPORT_DIRECTORY* ExportDirectory(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (entry.VirtualAddress == 0 || entry.Size == 0) return nullptr;
  return reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
}

// Makes a range of the image writable for its lifetime and restores the protection afterwards.
class WritableRange {
 public:
  WritableRange(void* start, std::size_t size) : start_(start), size_(size) {
    ok_ = VirtualProtect(start_, size_, PAGE_READWRITE, &old_) != 0;
  }
  WritableRange(const WritableRange&) = delete;
  WritableRange& operator=(const WritableRange&) = delete;
  ~WritableRange() {
    DWORD ignored;
    if (ok_) VirtualProtect(start_, size_, old_, &ignored);
  }
  bool ok() const { return ok_; }

 private:
  void* start_;
  std::size_t size_;
  DWORD old_ = 0;
  bool ok_ = false;
};

}  // namespace

std::vector<std::string> ExportedNames(HMODULE module) {
  std::vector<std::string> names;
  const IMAGE_EXPORT_DIRECTORY* exports = ExportDirectory(module);
  if (!exports) return names;
  auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
  }
  return names;
}

bool WithholdExport(HMODULE module, const char* name) {
  IMAGE_EXPORT_DIRECTORY* exports = ExportDirectory(module);
  if (!exports) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return false;
  }
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nameRvas = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
  auto* ordinals = reinterpret_cast<WORD*>(base + exports->AddressOfNameOrdinals);
  const DWORD count = exports->NumberOfNames;
  DWORD found = count;
  for (DWORD i = 0; i < count; ++i) {
    if (std::strcmp(reinterpret_cast<const char*>(base + nameRvas[i]), name) == 0) {
      found = i;
      break;
    }
  }
  if (found == count) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return false;
  }
  // One range over the directory and both tables, so that pages they share are restored exactly once.
  auto* first = reinterpret_cast<BYTE*>(exports);
  auto* last = first + sizeof *exports;
  for (auto [start, size] : {std::pair<BYTE*, std::size_t>{reinterpret_cast<BYTE*>(nameRvas), count * sizeof *nameRvas},
                             {reinterpret_cast<BYTE*>(ordinals), count * sizeof *ordinals}}) {
    first = std::min(first, start);
    last = std::max(last, start + size);
  }
  WritableRange writable(first, static_cast<std::size_t>(last - first));
  if (!writable.ok()) return false;
  // Close the gap, keeping the order that the loader's binary search relies on.
  std::memmove(nameRvas + found, nameRvas + found + 1, (count - found - 1) * sizeof *nameRvas);
  std::memmove(ordinals + found, ordinals + found + 1, (count - found - 1) * sizeof *ordinals);
  exports->NumberOfNames = count - 1;
  return true;
}
