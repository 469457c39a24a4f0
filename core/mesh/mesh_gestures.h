// Mouse gestures that edit the mesh in the first and second image windows,
// without any widget: the window translates its mouse event into a button,
// a shift state and a point, calls these functions, and then does what the
// answer says (redraw itself and/or the other image window, mark the mesh
// unsaved, set the arrow cursor, remember the dragged node).
//
// Contract for the window of image kind k (1 first, 2 second):
//  - mouse-down: r = MeshMouseDown(mesh, k, button, state, click, NodeSize),
//    the click being the view pixel pressed and the window's zoom;
//    then if r.arrow_cursor set the arrow cursor; if r.drag_assigned
//    DragNode := r.drag_node; if r.mesh_changed MeshSaved := false; redraw
//    this window if r.redraw_this and the other image window (when open) if
//    r.redraw_other.
//  - mouse-move (after the coordinate display): if MeshMouseMove(...) answers
//    true, redraw this window (only this one; MeshSaved stays).
//  - mouse-up: if MeshMouseUp(...) answers true redraw this window; it has
//    cleared DragNode; then the default cursor and the command-state update.
// The Vesk window (kind 3) has no mesh gestures: every function here does
// nothing for a kind other than 1 or 2.
#pragma once

#include <cstdint>

#include "core/mesh/mesh_model.h"
#include "core/mesh/node_under_click.h"

namespace vesk {

// The button whose press is reported.
enum class MouseButton { Left, Right, Middle };

// The shift state delivered with a mouse event: the modifier keys and mouse
// buttons held, and whether the press is the second of a double click. The
// pressed button itself is part of the state (a plain left click is
// {kLeftButton}).
enum ShiftFlag : unsigned {
  kShiftKey = 1u << 0,
  kAltKey = 1u << 1,
  kCtrlKey = 1u << 2,
  kLeftButton = 1u << 3,
  kRightButton = 1u << 4,
  kMiddleButton = 1u << 5,
  kDoubleClick = 1u << 6,
};
using ShiftState = unsigned;

// The gestures, told apart by the button and the exact shift state; any
// extra key or button falls through to Default:
//   CtrlRightClick  right button, state exactly {Ctrl, Right}
//   RightClick      right button, state exactly {Right}
//   ShiftLeftClick  any button,   state exactly {Shift, Left}
//   CtrlLeftClick   any button,   state exactly {Ctrl, Left}
//   Default         everything else (plain left click, middle click, double
//                   click, Alt+click, Shift+right click, ...)
enum class MeshGesture { CtrlRightClick, RightClick, ShiftLeftClick, CtrlLeftClick, Default };

MeshGesture ClassifyMeshGesture(MouseButton button, ShiftState state);

// What a mouse-down did to the mesh.
enum class MeshEdit {
  None,                    // hit nothing (or not an image window)
  DeleteNodeAndTriangles,  // Ctrl+right click on a node
  DeleteTriangleOrNode,    // right click on a node
  CopyPositionToOther,     // Shift+left click on a node
  SplitTriangle,           // Ctrl+left click inside a triangle, off the nodes
  AddTriangle,             // Ctrl+left click with two selected nodes
  AddNode,                 // default gesture on empty ground
  SelectNode,              // default gesture on a node: selection and drag
};

struct MeshMouseDownResult {
  MeshGesture gesture = MeshGesture::Default;
  MeshEdit edit = MeshEdit::None;
  bool mesh_changed = false;   // MeshSaved := false
  bool redraw_this = false;    // redraw the window that got the event
  bool redraw_other = false;   // redraw the other image window if open
  bool arrow_cursor = false;   // set the window's cursor to the arrow
  bool drag_assigned = false;  // DragNode := drag_node (default gesture only)
  TMeshNode* drag_node = nullptr;
};

// Mouse-down in the window of image `kind`, at the image pixel the click
// addresses; "on a node" means inside the node's square as drawn at the
// click's zoom (NodeUnderClick). The first rule that applies is taken:
//  1. Ctrl+right click on a node: DeleteNodeAndTriangles; changed, redraw
//     both.
//  2. Right click on a node: DeleteTriangleOrNode; changed, redraw both (even
//     when no triangle matched the selection).
//  3. Shift+left click on a node: its position on this image is copied to
//     the other image; changed, redraw the other window only.
//     Rules 1-3 on empty ground do nothing at all.
//  4. Ctrl+left click off the nodes but inside a triangle on this image:
//     SplitTriangle; changed, redraw both.
//  5. Other Ctrl+left clicks while both selected nodes exist: AddTriangle;
//     changed, redraw both.
//  6. Default (including Ctrl+left click without two selected nodes):
//     DragNode := the node hit. On empty ground: arrow cursor, AddNode,
//     changed, redraw both, no drag. On a node: select it (a third node
//     becomes selected and the selected one previous; the previous node
//     swaps roles with the selected one; the selected node stays), redraw
//     both, not changed, its drag starts.
MeshMouseDownResult MeshMouseDown(Mesh& mesh, int kind, MouseButton button, ShiftState state,
                                  const ViewClick& click, std::uint8_t node_size);

// True when (x, y) is a place a node may be dragged to on an image of
// width x height pixels: 0 <= x <= width and 0 <= y <= height, both bounds
// inclusive (one pixel beyond the last column and row is accepted).
bool DragInBounds(std::int32_t x, std::int32_t y, int width, int height);

// Mouse-move while `drag_node` is being dragged on image `kind` of
// width x height pixels: inside the bounds the node moves to (x, y) on this
// image only and the answer is true (redraw this window). Outside them, with
// no drag, or when the node is no longer in the mesh, nothing happens.
bool MeshMouseMove(Mesh& mesh, int kind, TMeshNode* drag_node, std::int32_t x, std::int32_t y,
                   int width, int height);

// Mouse-up: the mouse-move steps at the release point, then the drag ends
// (drag_node := none). Answers whether this window needs a redraw.
bool MeshMouseUp(Mesh& mesh, int kind, TMeshNode*& drag_node, std::int32_t x, std::int32_t y,
                 int width, int height);

}  // namespace vesk
