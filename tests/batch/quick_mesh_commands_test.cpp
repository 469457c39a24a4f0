// vesk-batch grid, triangulate and check: exit status, messages and the
// mesh files they write, run as a program on the examples.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/mesh/fold_over.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk {
namespace {

using testing::kExamples;
using QuickMeshCommands = testing::BatchTest;

TEST_F(QuickMeshCommands, ExitStatusAndOutputOfEachCase) {
  // A mesh with one folded triangle of two, for check.
  Mesh folded;
  const TMeshNode* a = folded.PushNode({0, 0, 10, 0});
  const TMeshNode* b = folded.PushNode({10, 0, 0, 0});
  const TMeshNode* c = folded.PushNode({0, 10, 10, 10});
  const TMeshNode* d = folded.PushNode({10, 10, 20, 0});
  folded.PushTriangle(a, b, c);
  folded.PushTriangle(b, d, c);
  ASSERT_TRUE(WriteMeshFile(Path("folded.mesh"), folded, "", "").Ok());
  const std::string first = kExamples + "/first.bmp", second = kExamples + "/second.bmp";
  struct Row {
    const char* name;
    std::string words;
    int status;
    const char* output;  // in standard output, or standard error for status 1 and 2
  };
  const Row rows[] = {
      {"GridWritten", "grid " + first + " " + second + " --cols 5 --rows 4 --out g.mesh", 0,
       "grid: 20 nodes, 24 triangles written to g.mesh"},
      {"GridColumnsOutOfRange", "grid " + first + " " + second + " --cols 101 --rows 4 --out x.mesh",
       2, "--cols"},
      {"GridWithoutOut", "grid " + first + " " + second + " --cols 5 --rows 4", 2,
       "option --out is missing"},
      {"GridMissingPicture", "grid nothing.bmp " + second + " --cols 5 --rows 4 --out x.mesh", 1,
       "nothing.bmp"},
      {"TriangulateTheSample", "triangulate " + kExamples + "/sample.mesh --out t.mesh", 0,
       "triangulate: "},
      {"TriangulateNotAMesh", "triangulate " + first + " --out x.mesh", 1,
       "Error in file format (required mesh 1.1)"},
      {"CheckTheGrid", "check g.mesh", 0, "check: no triangle of 24 folds over"},
      {"CheckFolded", "check folded.mesh", 1, "1 of 2 triangles fold over"},
      {"CheckWithoutMesh", "check", 2, "usage: vesk-batch check MESH"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Run(row.words), row.status) << err_;
    EXPECT_NE((row.status == 0 ? out_ : err_).find(row.output), std::string::npos)
        << out_ << err_;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("x.mesh")));
  // Files store the newest triangle first, so the folded one is the second.
  Run("check folded.mesh");
  EXPECT_EQ(out_, "triangle 2 folds over: first (0,0) (10,0) (0,10), second (10,0) (0,0) (10,10)\n");

  // The grid names its pictures so that the program finds them; the
  // triangulation keeps every node and the names.
  Result<MeshFileContent> grid = ReadMeshFile(Path("g.mesh"));
  ASSERT_TRUE(grid.Ok());
  EXPECT_TRUE(std::filesystem::exists(grid.Value().first_file_name)) << grid.Value().first_file_name;
  EXPECT_EQ(grid.Value().mesh.NodeList().back().X2, 159);  // read back reversed
  Result<MeshFileContent> sample = ReadMeshFile(kExamples + "/sample.mesh");
  Result<MeshFileContent> triangulated = ReadMeshFile(Path("t.mesh"));
  ASSERT_TRUE(sample.Ok() && triangulated.Ok());
  EXPECT_EQ(triangulated.Value().mesh.NodeCount(), sample.Value().mesh.NodeCount());
  EXPECT_EQ(triangulated.Value().second_file_name, sample.Value().second_file_name);
  EXPECT_GT(triangulated.Value().mesh.TriangleCount(), 0u);
}

}  // namespace
}  // namespace vesk
