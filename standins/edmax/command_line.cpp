#include "command_line.h"

#include <windows.h>
#include <shellapi.h>

#include "text_codec.h"

namespace {

// The argument vector of CommandLineToArgvW, freed with LocalFree.
class ArgumentList {
 public:
  ArgumentList() : arguments_(CommandLineToArgvW(GetCommandLineW(), &count_)) {}
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;
  ~ArgumentList() {
    if (arguments_) LocalFree(arguments_);
  }
  int count() const { return arguments_ ? count_ : 0; }
  const wchar_t* operator[](int i) const { return arguments_[i]; }

 private:
  int count_ = 0;
  wchar_t** arguments_;
};

}  // namespace

bool ParseCommandLine(StandinOptions& options, std::wstring& error) {
  ArgumentList arguments;
  for (int i = 1; i < arguments.count(); ++i) {
    const std::wstring option = arguments[i];
    if (i + 1 >= arguments.count()) {
      error = option + L" needs a value";
      return false;
    }
    const std::wstring value = arguments[++i];
    if (option == L"--store") {
      options.store = value;
    } else if (option == L"--plugin") {
      options.plugins.push_back(value);
    } else if (option == L"--journal") {
      options.journal = value;
    } else if (option == L"--script") {
      options.script = value;
    } else if (option == L"--withhold") {
      options.withhold = Utf8FromWide(value);
    } else {
      error = L"unknown option " + option;
      return false;
    }
  }
  if (options.store.empty()) {
    error = L"usage: edmax-standin.exe --store DIR [--plugin DLL ...] [--journal FILE] [--script FILE] "
            L"[--withhold NAME]";
    return false;
  }
  return true;
}
