#include "core/mesh/mesh_file.h"

#include <array>
#include <cstring>
#include <map>

#include "core/common/file_io.h"
#include "core/common/file_name_rules.h"

namespace vesk {

namespace {

constexpr std::uint8_t kSignature[7] = {6, 'M', 'E', 'S', 'H', '1', '1'};
constexpr std::uint8_t kNameEnd = '*';

// Mesh files hold at most about 4 MiB of records; the rest are two names.
constexpr std::uint64_t kMaxMeshFileBytes = std::uint64_t{256} << 20;

using NodeKey = std::array<std::int32_t, 4>;

// Reads forward through the bytes; every take checks the remaining size.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Remaining() const { return size_ - pos_; }

  const std::uint8_t* Take(std::size_t count) {
    if (count > Remaining()) return nullptr;
    const std::uint8_t* at = data_ + pos_;
    pos_ += count;
    return at;
  }

  // Bytes up to the next '*', which is consumed but not returned.
  bool TakeName(std::string& out) {
    const void* end = Remaining() == 0 ? nullptr : std::memchr(data_ + pos_, kNameEnd, Remaining());
    if (end == nullptr) return false;
    auto length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (data_ + pos_));
    out.assign(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length + 1;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

std::uint16_t U16At(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t I32At(const std::uint8_t* p) {
  std::uint32_t u = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                    (static_cast<std::uint32_t>(p[2]) << 16) |
                    (static_cast<std::uint32_t>(p[3]) << 24);
  return static_cast<std::int32_t>(u);
}

NodeKey KeyAt(const std::uint8_t* p) {
  return {I32At(p), I32At(p + 4), I32At(p + 8), I32At(p + 12)};
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

void PutNode(std::vector<std::uint8_t>& out, const TMeshNode* n) {
  TMeshNode zero;
  const TMeshNode& r = n != nullptr ? *n : zero;
  PutI32(out, r.X1);
  PutI32(out, r.Y1);
  PutI32(out, r.X2);
  PutI32(out, r.Y2);
}

struct Binding {
  TMeshNode* first_in_file = nullptr;  // the selection's match
  TMeshNode* last_in_file = nullptr;   // the corners' match (first from the head)
};

}  // namespace

Result<MeshFileContent> ReadMesh(const std::uint8_t* data, std::size_t size) {
  const Failure beyond_end{kReadBeyondEndMessage};
  ByteReader in(data, size);
  const std::uint8_t* header = in.Take(kMeshHeaderSize);
  if (header == nullptr) return beyond_end;
  if (std::memcmp(header, kSignature, sizeof kSignature) != 0) return Failure{kMeshFormatMessage};
  const std::size_t node_count = U16At(header + 7);
  const std::size_t triangle_count = U16At(header + 9);
  // The records must all be there before anything is made.
  const std::size_t records = node_count * kMeshNodeRecordSize + 2 * kMeshNodeRecordSize +
                              triangle_count * kMeshTriangleRecordSize;
  if (records > in.Remaining()) return beyond_end;

  MeshFileContent content;
  Mesh& mesh = content.mesh;
  std::map<NodeKey, Binding> by_values;
  for (std::size_t i = 0; i < node_count; ++i) {
    NodeKey key = KeyAt(in.Take(kMeshNodeRecordSize));
    TMeshNode* node = mesh.PushNode(TMeshNode{key[0], key[1], key[2], key[3]});
    Binding& binding = by_values[key];
    if (binding.first_in_file == nullptr) binding.first_in_file = node;
    binding.last_in_file = node;
  }
  auto selection_of = [&by_values](const std::uint8_t* record) -> TMeshNode* {
    auto found = by_values.find(KeyAt(record));
    return found == by_values.end() ? nullptr : found->second.first_in_file;
  };
  TMeshNode* previous = selection_of(in.Take(kMeshNodeRecordSize));
  TMeshNode* selected = selection_of(in.Take(kMeshNodeRecordSize));
  mesh.SetSelection(previous, selected);

  for (std::size_t i = 0; i < triangle_count; ++i) {
    const std::uint8_t* record = in.Take(kMeshTriangleRecordSize);
    const TMeshNode* corners[3] = {};
    bool bound = true;
    for (int k = 0; k < 3; ++k) {
      auto found = by_values.find(KeyAt(record + k * kMeshNodeRecordSize));
      if (found == by_values.end()) {
        bound = false;
        break;
      }
      corners[k] = found->second.last_in_file;
    }
    // A corner that matches no node cannot be drawn or morphed: the
    // triangle is left out.
    if (bound) mesh.PushTriangle(corners[0], corners[1], corners[2]);
  }

  if (!in.TakeName(content.first_file_name)) return beyond_end;
  if (!in.TakeName(content.second_file_name)) return beyond_end;
  return content;
}

Result<MeshFileContent> ReadMesh(const std::vector<std::uint8_t>& bytes) {
  return ReadMesh(bytes.data(), bytes.size());
}

Result<MeshFileContent> ReadMeshFile(const std::string& name) {
  auto bytes = ReadWholeFile(name, kMaxMeshFileBytes);
  if (!bytes.Ok()) return Failure{bytes.Message()};
  return ReadMesh(bytes.Value());
}

Result<std::vector<std::uint8_t>> WriteMesh(const Mesh& mesh, const std::string& first_file_name,
                                            const std::string& second_file_name) {
  if (mesh.NodeCount() > kMaxMeshCount) {
    return Failure{"The mesh has " + std::to_string(mesh.NodeCount()) +
                   " nodes; a mesh file holds at most 65535"};
  }
  if (mesh.TriangleCount() > kMaxMeshCount) {
    return Failure{"The mesh has " + std::to_string(mesh.TriangleCount()) +
                   " triangles; a mesh file holds at most 65535"};
  }
  for (const std::string* name : {&first_file_name, &second_file_name}) {
    if (name->find(static_cast<char>(kNameEnd)) != std::string::npos) {
      return Failure{"The image file name \"" + *name +
                     "\" contains \"*\" and cannot be stored in a mesh file"};
    }
  }

  std::vector<std::uint8_t> out;
  out.reserve(kMeshHeaderSize + (mesh.NodeCount() + 2) * kMeshNodeRecordSize +
              mesh.TriangleCount() * kMeshTriangleRecordSize + first_file_name.size() +
              second_file_name.size() + 2);
  out.insert(out.end(), std::begin(kSignature), std::end(kSignature));
  PutU16(out, static_cast<std::uint16_t>(mesh.NodeCount()));
  PutU16(out, static_cast<std::uint16_t>(mesh.TriangleCount()));
  for (const TMeshNode& node : mesh.NodeList()) PutNode(out, &node);
  PutNode(out, mesh.PreviousNode());
  PutNode(out, mesh.SelectedNode());
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    PutNode(out, t.A);
    PutNode(out, t.B);
    PutNode(out, t.C);
  }
  for (const std::string* name : {&first_file_name, &second_file_name}) {
    out.insert(out.end(), name->begin(), name->end());
    out.push_back(kNameEnd);
  }
  return out;
}

Status WriteMeshFile(const std::string& name, const Mesh& mesh, const std::string& first_file_name,
                     const std::string& second_file_name) {
  auto bytes = WriteMesh(mesh, first_file_name, second_file_name);
  if (!bytes.Ok()) return Failure{bytes.Message()};
  return WriteFileReplacing(name, bytes.Value());
}

std::string SaveAsMeshFileName(const std::string& chosen) {
  return WithExtensionUnlessContained(chosen, ".MESH");
}

std::string MeshWindowCaption(const std::string& title_text, const std::string& mesh_file_name) {
  return title_text + " " + mesh_file_name;
}

}  // namespace vesk
