// The Animations command and the animation viewer `TAnimaci`: asks for a
// frame-list file, loads every frame it names and plays them in a loop,
// forward or back and forth, with pause, single step, scrubbing and the
// AVI creator.
#pragma once

#include <QDialog>
#include <QString>

class QWidget;

namespace vesk {

class UserDialogs;

// The whole Animations command of the menu: the open dialog with
// "Animation Files|*.any|All Files|*.*", loading, and the modal viewer.
void RunAnimationsCommand(QWidget* parent, UserDialogs& dialogs);

// The frame-list file last chosen with the Animations command (empty before
// the first); the viewer and the AVI creator both read the list under it.
QString LastFrameListName();

}  // namespace vesk
