#pragma once
// The running saver's state, one set per run.
#include <cstdint>
#include <string>
#include <vector>

namespace reelshow {

struct SaverState {
  bool SoundOn = false;
  bool RepeatOn = false;
  std::int32_t Color = 4;   // 1 to 4: the background colour set
  std::int32_t Picdis = 5;  // 1 to 5: the picture mode
  std::int32_t Picord = 2;  // 1 random, 2 listed order
  std::int32_t Height = -1;
  std::int32_t Width = -1;
  // The playable videos in listed order; place p (from 1) is VideoList[p - 1].
  // Every listed, existing file is kept, however many there are.
  std::vector<std::string> VideoList;
  std::int32_t VideoCount = 0;
  std::string SoundFile;         // no setting fills it
  std::int32_t CurrentVideo = 0; // 1-based; 0 before the first pick
  std::int32_t OrderPos = 0;
  std::int32_t ColorStep = 0;
  bool Quitting = false;
  std::string WindowsDir;
  std::string IniPath;
};

}  // namespace reelshow
