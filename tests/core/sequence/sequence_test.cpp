// The sequence model: pairs keep their meshes with their two pictures
// through every change of order, a changed frame drops or moves the meshes
// drawn in the old one, and the frames of the whole sequence.
#include "core/sequence/sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "core/sequence/sequence_timeline.h"

namespace vesk {
namespace {

// A mesh that tells which pair it was made for: one node at (first, second).
MeshSnapshot MeshFor(PairKey key) {
  return MeshSnapshot{{TMeshNode{int(key.first), int(key.second), 0, 0}}, {}, 0, 0};
}

// "ab:A bc:E cd:-": each pair by its pictures' names, with its state (A
// automatic, E edited, F failed, - none); "!" after a mesh made for
// another pair.
std::string Pairs(const Sequence& s) {
  std::string out;
  for (int k = 0; k < s.PairCount(); ++k) {
    const PairKey key = s.PairAt(k);
    const PairMesh& mesh = s.MeshOf(key);
    out += (k ? " " : "") + s.Picture(s.IndexOf(key.first)).path +
           s.Picture(s.IndexOf(key.second)).path + ":" + "-AEF"[int(mesh.state)];
    if (mesh.state != PairState::kNone && mesh.state != PairState::kFailed &&
        !(mesh.mesh == MeshFor(key))) {
      out += "!";
    }
  }
  return out;
}

constexpr ImageSize kSize{100, 80};

// Pictures a, b, c, d at a fixed output size: ab and cd meshed
// automatically, bc edited.
Sequence FourPictures() {
  Sequence s(SequenceOptions{.output_size = kSize});
  for (const char* name : {"a", "b", "c", "d"}) s.Add(s.PictureCount(), name);
  const MeshFrame frame = *s.Frame();
  EXPECT_TRUE(s.SetAutomaticMesh(s.PairAt(0), MeshFor(s.PairAt(0)), "ab", frame));
  EXPECT_TRUE(s.SetEditedMesh(s.PairAt(1), MeshFor(s.PairAt(1))));
  EXPECT_TRUE(s.SetAutomaticMesh(s.PairAt(2), MeshFor(s.PairAt(2)), "cd", frame));
  return s;
}

TEST(Sequence, PairsKeepTheirMeshesWithTheirTwoPictures) {
  struct Row {
    const char* change;
    std::function<void(Sequence&)> apply;
    const char* pairs;
  };
  const Row rows[] = {
      {"nothing", [](Sequence&) {}, "ab:A bc:E cd:A"},
      {"d to the front", [](Sequence& s) { s.Move(3, 0); }, "da:- ab:A bc:E"},
      {"d to the front and back", [](Sequence& s) { s.Move(3, 0), s.Move(0, 3); },
       "ab:A bc:E cd:-"},
      {"b after c", [](Sequence& s) { s.Move(1, 2); }, "ac:- cb:- bd:-"},
      {"a to the end", [](Sequence& s) { s.Move(0, 3); }, "bc:E cd:A da:-"},
      {"c removed", [](Sequence& s) { s.Remove(2); }, "ab:A bd:-"},
      {"e between a and b", [](Sequence& s) { s.Add(1, "e"); }, "ae:- eb:- bc:E cd:A"},
      {"e at the end", [](Sequence& s) { s.Add(4, "e"); }, "ab:A bc:E cd:A de:-"},
      {"the loop", [](Sequence& s) { s.SetOptions({.loop = true, .output_size = kSize}); },
       "ab:A bc:E cd:A da:-"},
      {"the last to the front, looped",
       [](Sequence& s) {
         s.SetOptions({.loop = true, .output_size = kSize});
         s.Move(3, 0);
       },
       "da:- ab:A bc:E cd:A"},
      {"b relocated", [](Sequence& s) { s.Relocate(1, "b"); }, "ab:A bc:E cd:A"},
      {"all but one removed", [](Sequence& s) { for (int i = 0; i < 3; ++i) s.Remove(0); }, ""},
      {"removed and put back", [](Sequence& s) { s.Remove(1); s.Add(1, "b"); }, "ab:- bc:- cd:A"},
  };
  for (const Row& row : rows) {
    Sequence s = FourPictures();
    row.apply(s);
    EXPECT_EQ(Pairs(s), row.pairs) << row.change;
    // New pairs are what the mesher does next; found pictures only.
    std::string to_mesh;
    for (PairKey key : s.PairsToMesh()) to_mesh += "?-"[s.MeshOf(key).state == PairState::kNone];
    EXPECT_EQ(to_mesh.size(), std::count(row.pairs, row.pairs + strlen(row.pairs), '-'))
        << row.change;
  }
  Sequence s = FourPictures();
  s.SetPictureFound(3, false);
  s.ClearMesh(s.PairAt(0));
  EXPECT_EQ(s.PairsToMesh(), std::vector<PairKey>{s.PairAt(0)});  // cd waits for d
}

TEST(Sequence, LateResultsNeverReplaceAnEditOrLandInAnotherFrame) {
  Sequence s = FourPictures();
  const MeshFrame frame = *s.Frame();
  const PairKey bc = s.PairAt(1), gone{1, 3};
  s.ClearMesh(s.PairAt(0));
  EXPECT_FALSE(s.SetAutomaticMesh(bc, {}, "late", frame));    // edited meanwhile
  EXPECT_FALSE(s.SetAutomaticMesh(gone, {}, "late", frame));  // a and c are no pair
  EXPECT_FALSE(s.SetFailed(s.PairAt(0), "no face", MeshFrame{{100, 81}, {}}));  // old frame
  EXPECT_TRUE(s.SetFailed(s.PairAt(0), "no face", frame));
  EXPECT_EQ(Pairs(s), "ab:F bc:E cd:A");
  EXPECT_FALSE(Sequence().Frame() || Sequence().SetEditedMesh(bc, {}));  // no picture, no frame
}

TEST(Sequence, AnotherFrameDropsAutomaticMeshesAndMovesEditedOnes) {
  // The output size is the first picture's: a 200 x 100, b 100 x 100, c 100 x 50.
  Sequence s;
  for (const char* name : {"a", "b", "c"}) s.Add(s.PictureCount(), name);
  EXPECT_FALSE(s.Frame());
  EXPECT_TRUE(s.PairsToMesh().empty());  // nothing is meshed before the size is known
  const ImageSize sizes[] = {{200, 100}, {100, 100}, {100, 50}};
  for (int i = 0; i < 3; ++i) s.SetPictureSize(i, sizes[i]);
  ASSERT_EQ(s.Frame(), (MeshFrame{{200, 100}, {}}));
  const MeshSnapshot drawn{{TMeshNode{60, 10, 20, 10}}, {}, 0, 0};
  ASSERT_TRUE(s.SetAutomaticMesh(s.PairAt(0), MeshFor(s.PairAt(0)), "ab", *s.Frame()));
  ASSERT_TRUE(s.SetEditedMesh(s.PairAt(1), drawn));

  // Twice the size: b stands at x 100.5 + 2 x, y 0.5 + 2 y (pixel centres),
  // c at 1.5 + 4 x, 1.5 + 4 y, so (60, 10) on b and (20, 10) on c move to
  // (120.5, 20.5) and (40.5, 20.5), halves rounded away from zero.
  s.SetOptions({.output_size = ImageSize{400, 200}});
  EXPECT_EQ(Pairs(s), "ab:- bc:E!");
  const TMeshNode moved = s.MeshOf(s.PairAt(1)).mesh.nodes[0];
  EXPECT_EQ(std::tie(moved.X1, moved.Y1, moved.X2, moved.Y2), std::make_tuple(121, 21, 41, 21));
  EXPECT_EQ(s.MeshOf(s.PairAt(1)).frame, *s.Frame());
  EXPECT_TRUE(s.PairsOutOfFrame().empty());

  // Faces aligned: the pictures stand where their eyes put them, which only
  // the caller knows; the edited mesh waits for it.
  s.SetOptions({.align_faces = true, .output_size = ImageSize{400, 200}});
  EXPECT_EQ(s.Frame()->aligned_to, s.Picture(0).id);
  EXPECT_EQ(s.PairsOutOfFrame(), std::vector<PairKey>{s.PairAt(1)});
  EXPECT_EQ(s.MeshOf(s.PairAt(1)).mesh.nodes[0].X1, 121);
}

TEST(SequenceTimeline, EveryPictureStandsOnePlusHoldFrames) {
  EXPECT_EQ(SequenceFrameCount(0, 25, 0), 0);
  EXPECT_EQ(SequenceFrameCount(2, 25, 0), 51);  // three pictures, as vesk-batch writes
  EXPECT_EQ(SequenceFrameCount(3, 4, 2), 21);
  struct Row { int index; PairFrame at; };
  // Three pairs of 4 frames with 2 holds: 0 0 0 1 2 3 4 4 4 | 1 2 3 4 4 4 | 1 2 3 4 4 4.
  for (const Row& row : {Row{0, {0, 0}}, Row{2, {0, 0}}, Row{3, {0, 1}}, Row{8, {0, 4}},
                         Row{9, {1, 1}}, Row{14, {1, 4}}, Row{15, {2, 1}}, Row{20, {2, 4}}}) {
    EXPECT_EQ(LocateSequenceFrame(row.index, 4, 2), row.at) << row.index;
  }
  for (int i = 0; i <= 50; ++i) {  // no holds: frame i of the whole is frame i % 25 of its pair
    const PairFrame at = LocateSequenceFrame(i, 25, 0);
    EXPECT_EQ(at.pair * 25 + at.frame, i) << i;
  }
}

}  // namespace
}  // namespace vesk
