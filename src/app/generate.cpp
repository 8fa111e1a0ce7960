#include "app/generate.h"

#include "app/control_text_win.h"
#include "app/main_window.h"
#include "providers/providers.h"

namespace shortlink {
namespace {

// The long address comes from 编辑框1 and the result goes to the provider's own row.
ProviderIo RowIo(MainWindow& window, ControlId resultBox) {
  return ProviderIo{
      .readLongUrl = [&window] { return GetControlText(window.Control(ControlId::编辑框1)); },
      .showResult =
          [&window, resultBox](const Text& result) {
            SetControlText(window.Control(resultBox), result);
          },
  };
}

}  // namespace

void OnGenerateClicked(MainWindow& window) {
  // Bottom row first: Baidu, then Sogou (the row captioned 腾讯), then Sina.
  ShortenWithBaidu(RowIo(window, ControlId::编辑框4));
  ShortenWithSogou(RowIo(window, ControlId::编辑框3));
  ShortenWithSina(RowIo(window, ControlId::编辑框2));
}

}  // namespace shortlink
