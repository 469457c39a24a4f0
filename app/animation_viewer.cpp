#include "app/animation_viewer.h"

#include "app/user_dialogs.h"

namespace vesk {
namespace {
QString last_frame_list;
}

QString LastFrameListName() { return last_frame_list; }

void RunAnimationsCommand(QWidget* parent, UserDialogs& dialogs) {
  auto chosen = dialogs.OpenFileName(parent, "Open", "Animation Files|*.any|All Files|*.*");
  if (!chosen) return;
  last_frame_list = *chosen;
}

}  // namespace vesk
