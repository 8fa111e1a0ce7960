#include "app/copy_commands.h"

#include <string_view>

#include "app/clipboard.h"
#include "app/control_text_win.h"
#include "app/main_window.h"
#include "text/gbk.h"

namespace shortlink {
namespace {

void CopyRow(MainWindow& window, ControlId box, std::wstring_view message) {
  CopyTextToClipboard(GetControlText(window.Control(box)));  // the message is shown either way
  SetControlText(window.Control(ControlId::标签5), WideToGbk(message));
}

}  // namespace

void OnCopySinaClicked(MainWindow& window) {
  CopyRow(window, ControlId::编辑框2, L"新浪短网址复制成功");
}

void OnCopyTencentClicked(MainWindow& window) {
  CopyRow(window, ControlId::编辑框3, L"腾讯短网址复制成功");
}

void OnCopyBaiduClicked(MainWindow& window) {
  CopyRow(window, ControlId::编辑框4, L"百度短网址复制成功");
}

}  // namespace shortlink
