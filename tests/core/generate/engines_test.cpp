// The morph and the distortion, checked against the plain references, and their input.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/generate/distortion.h"
#include "core/generate/morph.h"
#include "core/generate/piece_frame.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

using namespace testing;          // the plain references and their scenes
using namespace testing_support;  // random pictures, the recording run

enum class Engine { kMorph, kDistortion };
using Triangles = std::vector<TrianglePositions>;

// Random pictures and a 4 x 4 node grid over part of them.
Scene MakeScene(unsigned seed, int width, int height) {
  std::mt19937 rng(seed);
  Scene s{RandomImage(width, height, rng()), RandomImage(width, height, rng()), {}};
  s.triangles = MeshTriangles(rng, width * 3 / 4, height * 5 / 6, 4, 4, 6);
  return s;
}

Status RunEngine(Engine engine, const Scene& s, const GenerationSetup& setup, Bitmap& vesk,
                 RecordingRun& run) {
  return engine == Engine::kMorph ? RunMorph(s.first, s.second, s.triangles, setup, vesk, run)
                                  : RunDistortion(s.first, s.triangles, setup, vesk, run);
}

int Paint(Engine engine, const Bitmap& first, const Bitmap& second, const Triangles& triangles,
          int t, int n, int precision, Bitmap& vesk, RecordingRun& run, int threads) {
  return engine == Engine::kMorph
             ? PaintMorphFrame(first, second, triangles, t, n, precision, vesk, run, threads)
             : PaintDistortionFrame(first, triangles, t, n, precision, vesk, run, threads);
}

TEST(MorphBlend, MixesEachChannelRoundingTowardTheFirstColour) {
  EXPECT_EQ(BlendColor(MakeColor(200, 10, 30), MakeColor(100, 20, 0), 1, 3),
            MakeColor(167, 13, 20));
  // An outside sample counts as white; bits above blue are ignored.
  EXPECT_EQ(BlendColor(kBlack, kInvalidColor, 1, 2), MakeColor(127, 127, 127));
  EXPECT_EQ(BlendColor(kInvalidColor, kBlack, 1, 2), MakeColor(128, 128, 128));
  std::mt19937 rng(9);
  for (int round = 0; round < 60; ++round) {
    const int n = 1 + int(rng() % 100), t = int(rng() % (n + 1));
    const BlendTable table = MakeBlendTable(t, n);
    for (int i = 0; i < 100; ++i) {
      const Color c1 = i == 0 ? kInvalidColor : Color(rng());
      const Color c2 = i == 1 ? kInvalidColor : Color(rng());
      ASSERT_EQ(BlendColor(c1, c2, t, n), RefBlend(c1, c2, t, n)) << t << "/" << n;
      ASSERT_EQ(BlendWithTable(table, c1, c2), RefBlend(c1, c2, t, n)) << t << "/" << n;
    }
  }
}

TEST(PieceEngines, WriteTheFramesOfTheirSchedule) {
  struct Row {
    const char* name; Engine engine; int frames, precision; bool equalize; int first_t, last_t;
    bool opening_copy, closing_second;
  };
  const Row rows[] = {
      {"morph, precision 1", Engine::kMorph, 12, 1, false, 1, 11, true, true},
      {"morph, precision 2", Engine::kMorph, 12, 2, false, 0, 12, false, false},
      {"morph, one frame at precision 1", Engine::kMorph, 1, 1, false, 1, 1, true, true},
      {"morph, one frame at precision 3", Engine::kMorph, 1, 3, false, 0, 1, false, false},
      {"morph, equalized", Engine::kMorph, 4, 3, true, 0, 4, false, false},
      {"distortion, precision 1", Engine::kDistortion, 12, 1, false, 1, 12, true, false},
      {"distortion, one frame", Engine::kDistortion, 1, 1, false, 1, 1, true, false},
      {"distortion, equalized", Engine::kDistortion, 12, 5, true, 0, 12, false, false},
  };
  const Scene s = MakeScene(4242, 64, 48);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingRun run;
    Bitmap vesk;
    const GenerationSetup setup{row.frames, row.precision, row.equalize, 1};
    ASSERT_TRUE(RunEngine(row.engine, s, setup, vesk, run));
    std::vector<Bitmap> expected = ReferenceFrames(row.engine == Engine::kDistortion, s, row.frames,
                                                   row.precision, row.equalize, row.first_t,
                                                   row.last_t);
    if (row.opening_copy) expected.insert(expected.begin(), s.first);
    if (row.closing_second) expected.push_back(s.second);
    // Each reference frame is painted over the previous one: never cleared in between.
    EXPECT_EQ(run.written, expected);
    EXPECT_EQ(vesk, expected.back());
    std::vector<std::string> counters;
    for (int t = row.first_t; t <= row.last_t; ++t) {
      counters.push_back("Counter " + std::to_string(t) + "/" + std::to_string(row.frames));
    }
    EXPECT_EQ(run.Only("Counter"), counters);
    EXPECT_EQ(run.Only("EqualizationBegin").size(), row.equalize ? counters.size() : 0);
    const std::size_t shows = 1 + counters.size() + (row.closing_second ? 1 : 0) +
                              (row.engine == Engine::kDistortion ? 1 : 0);
    EXPECT_EQ(run.Only("Show").size(), shows);
    // The run opens with Show, Begin (and the first image's Write) and then
    // steps the inner bar by k * 100 / count before triangle k.
    EXPECT_EQ(run.events[0] + " " + run.events[1], "Show Begin");
    EXPECT_EQ(run.events[2] == "Write", row.opening_copy);
    const std::vector<std::string> inner = run.Only("Inner");
    for (std::size_t k = 1; k <= s.triangles.size(); ++k) {
      EXPECT_EQ(inner[k - 1], "Inner " + std::to_string(k * 100 / s.triangles.size()));
    }
  }
}

// Kancel pressed while triangle k of frame t is painted: the frame is
// finished up to triangle k, equalized, shown and not written; nothing after
// it is written (the morph at precision 1 still shows the second image).
TEST(PieceEngines, CancelStopsTheRunAtTheTriangleItCameIn) {
  struct Row {  // cancel_triangle 0: the last one
    const char* name; Engine engine; int width, height, frames, precision; bool equalize;
    int threads, cancel_frame, cancel_triangle;
  };
  const Row rows[] = {
      {"morph, precision 1", Engine::kMorph, 64, 48, 12, 1, false, 1, 2, 3},
      {"morph, precision 1, equalized", Engine::kMorph, 64, 48, 12, 1, true, 1, 2, 3},
      {"morph, last triangle of frame 0", Engine::kMorph, 64, 48, 12, 4, false, 1, 0, 0},
      {"morph, 2 painting threads", Engine::kMorph, 220, 180, 3, 2, false, 2, 1, 7},
      {"morph, 3 painting threads", Engine::kMorph, 220, 180, 3, 2, false, 3, 1, 7},
      {"distortion, precision 1", Engine::kDistortion, 64, 48, 12, 1, false, 1, 3, 5},
      {"distortion, equalized", Engine::kDistortion, 64, 48, 12, 5, true, 1, 0, 4},
      {"distortion, 2 painting threads", Engine::kDistortion, 220, 180, 3, 2, false, 2, 2, 9},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Scene s = MakeScene(77, row.width, row.height);
    const std::size_t k = row.cancel_triangle ? row.cancel_triangle : s.triangles.size();
    RecordingRun run;
    run.cancel_frame = row.cancel_frame;
    run.cancel_inner = static_cast<int>(k);
    Bitmap vesk;
    const GenerationSetup setup{row.frames, row.precision, row.equalize, row.threads};
    ASSERT_TRUE(RunEngine(row.engine, s, setup, vesk, run));
    const bool distortion = row.engine == Engine::kDistortion;
    const int first_t = row.precision == 1 ? 1 : 0;
    std::vector<Bitmap> expected = ReferenceFrames(distortion, s, row.frames, row.precision,
                                                   row.equalize, first_t, row.cancel_frame - 1);
    Bitmap partial = expected.empty() ? s.first : expected.back();
    RefPainter{s.first, s.second, row.cancel_frame, row.frames, distortion, partial}.Frame(
        s.triangles, row.precision, k);
    RunProtocol quiet;
    if (row.equalize) EqualizePicture(partial, quiet);
    if (row.precision == 1) expected.insert(expected.begin(), s.first);
    EXPECT_EQ(run.written, expected);
    const bool second_shown = !distortion && row.precision == 1;
    ASSERT_GE(run.shown.size(), 2u);
    EXPECT_EQ(run.shown[run.shown.size() - (second_shown ? 2 : 1)], partial);
    EXPECT_EQ(vesk, second_shown ? s.second : partial);
    EXPECT_EQ(run.Only("Inner").size(), (row.cancel_frame - first_t) * s.triangles.size() + k);
    EXPECT_EQ(run.Only("Counter").back(),
              "Counter " + std::to_string(row.cancel_frame) + "/" + std::to_string(row.frames));
    EXPECT_EQ(run.events.back(), "End");
  }
}

// A frame count or precision out of range is refused before anything; a
// failed write ends the run with its message.
TEST(PieceEngines, RefusedSetupsAndFailedWritesEndTheRunWithTheirMessage) {
  const Scene s = MakeScene(6, 30, 30);
  struct Row { Engine engine; int precision, fail_write; const char* last_counter; };
  for (const Row& row : {Row{Engine::kMorph, 1, 2, "Counter 2/12"},
                         Row{Engine::kDistortion, 1, 0, ""},
                         Row{Engine::kDistortion, 3, 1, "Counter 1/12"}}) {
    RecordingRun run;
    run.fail_write = row.fail_write;
    Bitmap vesk;
    const Status status = RunEngine(row.engine, s, {12, row.precision, false, 1}, vesk, run);
    EXPECT_EQ(status ? "run" : status.Message(),
              "Cannot write imag" + std::to_string(row.fail_write + 1));
    EXPECT_EQ(run.written.size(), std::size_t(row.fail_write));
    const std::vector<std::string> counters = run.Only("Counter");
    EXPECT_EQ(counters.empty() ? "" : counters.back(), row.last_counter);
    EXPECT_EQ(run.events.back(), "End");
  }
  const std::string frames_range = "The number of frames must be from 1 to 65535, not ";
  const std::string precision_range = "The precision must be from 1 to 65535, not ";
  for (Engine engine : {Engine::kMorph, Engine::kDistortion}) {
    for (auto [frames, precision, message] :
         {std::tuple{0, 1, frames_range + "0"}, {12, 0, precision_range + "0"},
          {70000, 1, frames_range + "70000"}, {12, 65536, precision_range + "65536"}}) {
      RecordingRun run;
      Bitmap vesk(3, 3, kBlack);
      const GenerationSetup setup{frames, precision, true, 1};
      const Status status = RunEngine(engine, s, setup, vesk, run);
      EXPECT_EQ(status ? "run" : status.Message(), message);
      EXPECT_TRUE(run.events.empty());
      EXPECT_EQ(vesk, Bitmap(3, 3, kBlack));
    }
    // A single frame without frames or precision paints nothing.
    RecordingRun run;
    Bitmap vesk(30, 30, kBlack);
    EXPECT_EQ(Paint(engine, s.first, s.second, s.triangles, 1, 0, 1, vesk, run, 1), 0);
    EXPECT_EQ(Paint(engine, s.first, s.second, s.triangles, 1, 2, 0, vesk, run, 1), 0);
    EXPECT_TRUE(run.events.empty());
    EXPECT_EQ(vesk, Bitmap(30, 30, kBlack));
  }
}

// Seeded scenes: grids reaching outside the pictures and scattered
// overlapping triangles, second images of another size, several precisions
// and 1 to 3 painting threads.
TEST(PieceEngines, SeededScenesMatchThePlainReference) {
  std::mt19937 rng(1234567);
  for (int round = 0; round < 24; ++round) {
    const Engine engine = round % 2 ? Engine::kDistortion : Engine::kMorph;
    const int width = 40 + int(rng() % 200), height = 30 + int(rng() % 200);
    const Bitmap first = RandomImage(width, height, rng());
    const Bitmap second = RandomImage(20 + int(rng() % 200), 20 + int(rng() % 200), rng());
    const Triangles triangles =
        round % 4 < 2 ? MeshTriangles(rng, width, height, 3 + round % 5, 3 + round % 4, 25,
                                      round % 3 == 0 ? 10 : 0)
                      : MeshTriangles(rng, width, height, 0, 6 + round % 9, 0);
    const int n = 1 + int(rng() % 20), t = int(rng() % (n + 1));
    const int precision = std::vector<int>{1, 2, 3, 4, 16, 150}[round % 6];
    const Bitmap start = RandomImage(width, height, rng());
    Bitmap expected = start;
    RefPainter ref{first, second, t, n, engine == Engine::kDistortion, expected};
    ref.Frame(triangles, precision);
    for (int threads : {1, 2, 3}) {
      Bitmap vesk = start;
      RecordingRun run;
      EXPECT_EQ(Paint(engine, first, second, triangles, t, n, precision, vesk, run, threads),
                int(triangles.size()));
      ASSERT_EQ(vesk, expected) << "round " << round << " threads " << threads;
      EXPECT_EQ(run.messages, static_cast<long long>(triangles.size()) + ref.splits);
    }
  }
}

// Each triangle gives its corners' positions on the first and on the second
// image, in corner order.
TEST(GenerationInput, TrianglesGiveBothPositionsAndSettingsGiveTheSetup) {
  Mesh mesh;
  mesh.PushTriangle(mesh.PushNode({1, 2, 3, 4}), mesh.PushNode({5, 6, 7, 8}),
                    mesh.PushNode({9, 10, 11, 12}));
  const TrianglePositions only{{{1, 2}, {5, 6}, {9, 10}}, {{3, 4}, {7, 8}, {11, 12}}};
  EXPECT_EQ(TrianglePositionsOf(mesh), std::vector<TrianglePositions>{only});
  const GenerationSetup setup = GenerationSetupOf({.Precision = 3, .FrameCount = 7, .Equalize = 0});
  EXPECT_EQ(std::tuple(setup.frame_count, setup.precision, setup.equalize),
            std::tuple(7, 3, false));
}

}  // namespace
}  // namespace vesk
