// The Generate command: the click of 按钮1 ("生成") runs the three short-link providers in turn.
//
//   OnGenerateClicked(window);   // fills 编辑框4, 编辑框3 and 编辑框2
#pragma once

namespace shortlink {

class MainWindow;

// Runs the providers one after the other on the window's thread; returns when the last is done.
void OnGenerateClicked(MainWindow& window);

}  // namespace shortlink
