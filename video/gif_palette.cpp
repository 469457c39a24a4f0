#include "video/gif_palette.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace vesk {
namespace {

struct ColorCount {
  Color color;
  std::uint32_t count;
};

int Channel(Color c, int channel) { return static_cast<int>((c >> (8 * channel)) & 0xFF); }

// A run of colours [begin, end) of the list, split along its widest channel.
struct Box {
  std::size_t begin;
  std::size_t end;
  int WidestChannel(const std::vector<ColorCount>& list, int* range) const {
    int best = 0;
    *range = -1;
    for (int channel = 0; channel < 3; ++channel) {
      int lo = 255, hi = 0;
      for (std::size_t i = begin; i < end; ++i) {
        lo = std::min(lo, Channel(list[i].color, channel));
        hi = std::max(hi, Channel(list[i].color, channel));
      }
      if (hi - lo > *range) {
        *range = hi - lo;
        best = channel;
      }
    }
    return best;
  }
};

std::vector<Color> MedianCut(std::vector<ColorCount> list, std::size_t wanted) {
  std::vector<Box> boxes{{0, list.size()}};
  while (boxes.size() < wanted) {
    // The box with the widest channel range is cut at its pixel median.
    std::size_t pick = boxes.size();
    int pick_range = 0, pick_channel = 0;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2) continue;
      int range = 0;
      const int channel = boxes[b].WidestChannel(list, &range);
      if (range > pick_range) {
        pick = b;
        pick_range = range;
        pick_channel = channel;
      }
    }
    if (pick == boxes.size()) break;
    Box box = boxes[pick];
    std::sort(list.begin() + static_cast<std::ptrdiff_t>(box.begin),
              list.begin() + static_cast<std::ptrdiff_t>(box.end),
              [pick_channel](const ColorCount& a, const ColorCount& b) {
                return Channel(a.color, pick_channel) < Channel(b.color, pick_channel);
              });
    std::uint64_t total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) total += list[i].count;
    std::uint64_t seen = 0;
    std::size_t cut = box.begin + 1;
    for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
      seen += list[i].count;
      cut = i + 1;
      if (2 * seen >= total) break;
    }
    boxes[pick] = Box{box.begin, cut};
    boxes.push_back(Box{cut, box.end});
  }
  std::vector<Color> palette;
  for (const Box& box : boxes) {
    std::uint64_t sum[3] = {0, 0, 0}, total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
      for (int channel = 0; channel < 3; ++channel) {
        sum[channel] += static_cast<std::uint64_t>(Channel(list[i].color, channel)) * list[i].count;
      }
      total += list[i].count;
    }
    palette.push_back(MakeColor(static_cast<int>(sum[0] / total), static_cast<int>(sum[1] / total),
                                static_cast<int>(sum[2] / total)));
  }
  return palette;
}

std::uint8_t Nearest(const std::vector<Color>& palette, Color c) {
  int best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    int distance = 0;
    for (int channel = 0; channel < 3; ++channel) {
      const int d = Channel(palette[i], channel) - Channel(c, channel);
      distance += d * d;
    }
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<int>(i);
    }
  }
  return static_cast<std::uint8_t>(best);
}

}  // namespace

IndexedPicture ToIndexedColors(const Bitmap& picture) {
  std::unordered_map<Color, std::uint32_t> counts;
  for (int y = 0; y < picture.Height(); ++y) {
    const Color* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) ++counts[row[x] & 0xFFFFFF];
  }
  std::vector<ColorCount> list;
  list.reserve(counts.size());
  for (const auto& [color, count] : counts) list.push_back({color, count});
  std::sort(list.begin(), list.end(),
            [](const ColorCount& a, const ColorCount& b) { return a.color < b.color; });

  std::vector<Color> palette;
  std::unordered_map<Color, std::uint8_t> index_of;
  if (list.size() <= 256) {
    for (const ColorCount& entry : list) {
      index_of[entry.color] = static_cast<std::uint8_t>(palette.size());
      palette.push_back(entry.color);
    }
  } else {
    palette = MedianCut(list, 256);
    for (const ColorCount& entry : list) index_of[entry.color] = Nearest(palette, entry.color);
  }

  IndexedPicture indexed;
  indexed.colors = static_cast<int>(palette.size());
  std::copy(palette.begin(), palette.end(), indexed.palette.begin());
  indexed.indices.resize(static_cast<std::size_t>(picture.Width()) * picture.Height());
  std::size_t at = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    const Color* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) indexed.indices[at++] = index_of[row[x] & 0xFFFFFF];
  }
  return indexed;
}

}  // namespace vesk
