#include "windows_form_host.h"

#include "gui/forms.h"
#include "local_clock.h"
#include "path_facts.h"
#include "script_file.h"

namespace qm {

void TWindowsFormHost::ShowMessage(const std::string& text) { gui::Application().ShowMessage(text, MB_OK); }

TLocalTime TWindowsFormHost::Now() { return LocalNow(); }

void TWindowsFormHost::SaveFile(const std::string& path, const std::string& bytes) { SaveScriptFile(path, bytes); }

TPathFacts TWindowsFormHost::PathFacts(const std::string& path) { return ReadPathFacts(path); }

}  // namespace qm
