#include "batch_script.h"

#include "gbk.h"
#include "main_form_model.h"

namespace qm {

namespace {

void AppendHead(std::vector<std::string>& lines, const std::string& toolDir) {
  lines.push_back("@call " + toolDir + "\\TWAY.EXE");
  lines.push_back("@cls");
  lines.push_back("@echo.");
  lines.push_back(std::string("@ECHO 制作--启明映像向导--") + HomePageAddress);
  lines.push_back("@echo.");
}

// Lines 6 to 11, shared by both forms.
void AppendIntroduction(std::vector<std::string>& lines, const std::string& toolDir,
                        const std::string& description, const std::optional<std::string>& compressionText,
                        const TLocalTime& when) {
  lines.push_back(description);
  if (compressionText) lines.push_back("@echo 压缩率：" + *compressionText);
  lines.push_back("@echo 附加说明：");
  lines.push_back("@echo 备份时间：" + when.Date + " " + when.Time);
  lines.push_back("@echo.");
  lines.push_back("@" + toolDir + "\\CHOICE 继续吗?");
}

// What runs a command on the answer yes.
const char* const OnYes = "@If errorlevel 1 if not errorlevel 2 ";
// Ghost in the tool folder; what follows this is the command tail DOS hands it.
const char* const GhostProgram = "\\Ghost.exe";

// The final yes runs Ghost; a no at any question lands on :Show.
void AppendRun(std::vector<std::string>& lines, const std::string& ghostCommand) {
  lines.push_back(OnYes + ghostCommand);
  lines.push_back("@if errorlevel 2 if not errorlevel 3 goto Show");
  lines.push_back(":Show");
  lines.push_back("@echo.");
}

bool IsUtf8Sequence(const std::string& character) {
  const unsigned char lead = static_cast<unsigned char>(character[0]);
  const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (character.size() != length || (lead >= 0x80 && lead < 0xC2) || lead > 0xF4) return false;
  for (size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(character[i]) & 0xC0) != 0x80) return false;
  return true;
}

// Calls visit for each character of text, a byte that is not UTF-8 passed
// as U+FFFD so that messages stay readable text.
template <typename Visit>
void ForEachCharacter(const std::string& text, Visit visit) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::string character = text.substr(i, length);
    if (!IsUtf8Sequence(character)) {
      character = "\xEF\xBF\xBD";
      length = 1;
    }
    visit(character);
    i += length;
  }
}

std::string OutsideGbkMessage(const std::string& line) {
  std::string shown, found, ignored;
  ForEachCharacter(line, [&](const std::string& character) {
    shown += character;
    if (!Utf8ToGbk(character, ignored) && found.find(character) == std::string::npos) found += character;
  });
  return "以下内容不能用GBK编码写入批处理文件：" + shown + "（无法编码的字符：" + found + "）";
}

}  // namespace

std::string GhostCommand(const std::string& toolDir, const std::string& mode, const std::string& src,
                         const std::string& dst, const TGhostOptions& options) {
  std::string command = toolDir + GhostProgram + " -clone,mode=" + mode + ",src=" + src + ",dst=" + dst + " -sure";
  if (options.Compression >= 0 && options.Compression <= 2) command += " -z" + std::to_string(options.Compression + 1);
  if (options.ExitToDos) command += " -fx";
  if (options.Reboot) command += " -rb";
  if (options.RescueBadSectors) command += " -fro";
  if (options.SplitSize) command += " -span -split=" + *options.SplitSize;
  return command;
}

std::vector<std::string> BackupFormScript(const std::string& toolDir, const std::string& description,
                                          const std::optional<std::string>& compressionText,
                                          const TLocalTime& when, const std::string& ghostCommand) {
  std::vector<std::string> lines;
  AppendHead(lines, toolDir);
  AppendIntroduction(lines, toolDir, description, compressionText, when);
  AppendRun(lines, ghostCommand);
  return lines;
}

std::vector<std::string> RestoreFormScript(const std::string& toolDir, const std::string& description,
                                           const std::string& compressionText, const TLocalTime& when,
                                           const std::string& target, const std::string& ghostCommand) {
  std::vector<std::string> lines;
  AppendHead(lines, toolDir);
  AppendIntroduction(lines, toolDir, description, compressionText, when);
  lines.push_back("@If errorlevel 1 if not errorlevel 2 goto HF");
  lines.push_back("@if errorlevel 2 if not errorlevel 3 goto Show");
  lines.push_back(":HF");
  lines.push_back("@echo.");
  lines.push_back("@" + toolDir + "\\CHOICE " + target + "上的数据将全部被覆盖，此分区上的数据将丢失，要继续吗?");
  AppendRun(lines, ghostCommand);
  return lines;
}

std::string EncodeScript(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    if (line.find_first_of("\r\n") != std::string::npos)
      throw EScriptTextError("以下内容含有换行符，不能写入批处理文件：" + line);
    std::string encoded;
    if (!Utf8ToGbk(line, encoded))
      throw EScriptTextError(OutsideGbkMessage(line));
    bytes += encoded;
    bytes += "\r\n";
  }
  return bytes;
}

void CheckGhostCommandTail(const std::vector<std::string>& lines, const std::string& toolDir) {
  const std::string run = OnYes + toolDir + GhostProgram;
  for (const std::string& line : lines) {
    std::string tail;
    // Text outside code page 936 is EncodeScript's to refuse.
    if (line.rfind(run, 0) != 0 || !Utf8ToGbk(line.substr(run.size()), tail)) continue;
    if (tail.size() > MaxCommandTail)
      throw EScriptTextError("Ghost 命令行太长（" + std::to_string(tail.size()) + " 个字符），DOS 最多只能传给程序 " +
                             std::to_string(MaxCommandTail) + " 个字符。请缩短映像文件的路径或文件名。");
  }
}

}  // namespace qm
