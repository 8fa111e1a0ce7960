#include "app/generate.h"

#include "app/main_window.h"

namespace shortlink {

void OnGenerateClicked(MainWindow& /*window*/) {}

}  // namespace shortlink
