// The Copy commands: the clicks of 按钮2, 按钮3 and 按钮4 ("复制") put their row's box on the
// clipboard and say so in the status line 标签5.
//
//   OnCopySinaClicked(window);   // clipboard = 编辑框2, 标签5 = "新浪短网址复制成功"
#pragma once

namespace shortlink {

class MainWindow;

// Each copies its row's box and then shows the row's message in 标签5, the message also when the
// clipboard could not be had (another program holding it open, or no memory).
void OnCopySinaClicked(MainWindow& window);     // 编辑框2
void OnCopyTencentClicked(MainWindow& window);  // 编辑框3
void OnCopyBaiduClicked(MainWindow& window);    // 编辑框4

}  // namespace shortlink
