#include "core/mesh/mesh_gestures.h"

namespace vesk {

namespace {

bool ImageKind(int kind) { return kind == kFirstImage || kind == kSecondImage; }

MeshMouseDownResult Changed(MeshGesture gesture, MeshEdit edit, bool redraw_this) {
  MeshMouseDownResult r;
  r.gesture = gesture;
  r.edit = edit;
  r.mesh_changed = true;
  r.redraw_this = redraw_this;
  r.redraw_other = true;
  return r;
}

MeshMouseDownResult DefaultGesture(Mesh& mesh, MeshGesture gesture, TMeshNode* hit,
                                   MeshPoint at) {
  MeshMouseDownResult r;
  r.gesture = gesture;
  r.drag_assigned = true;
  r.drag_node = hit;
  if (r.drag_node == nullptr) {
    r.arrow_cursor = true;
    mesh.AddNode(at.x, at.y);
    r.edit = MeshEdit::AddNode;
    r.mesh_changed = true;
  } else {
    mesh.SelectNode(r.drag_node);
    r.edit = MeshEdit::SelectNode;
  }
  r.redraw_this = true;
  r.redraw_other = true;
  return r;
}

}  // namespace

MeshGesture ClassifyMeshGesture(MouseButton button, ShiftState state) {
  if (button == MouseButton::Right && state == (kCtrlKey | kRightButton)) {
    return MeshGesture::CtrlRightClick;
  }
  if (button == MouseButton::Right && state == kRightButton) return MeshGesture::RightClick;
  if (state == (kShiftKey | kLeftButton)) return MeshGesture::ShiftLeftClick;
  if (state == (kCtrlKey | kLeftButton)) return MeshGesture::CtrlLeftClick;
  return MeshGesture::Default;
}

MeshMouseDownResult MeshMouseDown(Mesh& mesh, int kind, MouseButton button, ShiftState state,
                                  const ViewClick& click, std::uint8_t node_size) {
  const MeshGesture gesture = ClassifyMeshGesture(button, state);
  MeshMouseDownResult nothing;
  nothing.gesture = gesture;
  if (!ImageKind(kind)) return nothing;
  const MeshPoint at = ImagePixelOf(click);
  TMeshNode* const hit = NodeUnderClick(mesh, click, kind, node_size);

  switch (gesture) {
    case MeshGesture::CtrlRightClick:
      if (hit == nullptr) return nothing;
      mesh.DeleteNodeAndTriangles(hit);
      return Changed(gesture, MeshEdit::DeleteNodeAndTriangles, true);
    case MeshGesture::RightClick:
      if (hit == nullptr) return nothing;
      mesh.DeleteTriangleOrNode(hit);
      return Changed(gesture, MeshEdit::DeleteTriangleOrNode, true);
    case MeshGesture::ShiftLeftClick: {
      if (hit == nullptr) return nothing;
      MeshPoint here = PositionOn(*hit, kind);
      Mesh::SetPosition(*hit, kind == kFirstImage ? kSecondImage : kFirstImage, here.x, here.y);
      // Nothing changed on this image: only the other window is redrawn.
      return Changed(gesture, MeshEdit::CopyPositionToOther, false);
    }
    case MeshGesture::CtrlLeftClick:
      if (hit == nullptr && mesh.PointInTriangle(at.x, at.y, kind)) {
        mesh.SplitTriangle(at.x, at.y, kind);
        return Changed(gesture, MeshEdit::SplitTriangle, true);
      }
      if (mesh.PreviousNode() != nullptr && mesh.SelectedNode() != nullptr) {
        mesh.AddTriangleTo(hit, at.x, at.y);
        return Changed(gesture, MeshEdit::AddTriangle, true);
      }
      break;
    case MeshGesture::Default:
      break;
  }
  return DefaultGesture(mesh, gesture, hit, at);
}

bool DragInBounds(std::int32_t x, std::int32_t y, int width, int height) {
  return x >= 0 && x <= width && y >= 0 && y <= height;
}

bool MeshMouseMove(Mesh& mesh, int kind, TMeshNode* drag_node, std::int32_t x, std::int32_t y,
                   int width, int height) {
  if (drag_node == nullptr || !ImageKind(kind)) return false;
  if (!DragInBounds(x, y, width, height)) return false;
  // The node may have gone since the drag began (a new or opened mesh while
  // the button was held): such a drag moves nothing.
  if (!mesh.Contains(drag_node)) return false;
  Mesh::SetPosition(*drag_node, kind, x, y);
  return true;
}

bool MeshMouseUp(Mesh& mesh, int kind, TMeshNode*& drag_node, std::int32_t x, std::int32_t y,
                 int width, int height) {
  bool redraw = MeshMouseMove(mesh, kind, drag_node, x, y, width, height);
  drag_node = nullptr;
  return redraw;
}

}  // namespace vesk
