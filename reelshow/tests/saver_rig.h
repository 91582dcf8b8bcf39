#pragma once
// A saver window over test doubles, with a settings file in memory.
#include <deque>
#include <memory>
#include <string>

#include "doubles.h"
#include "usave1.h"

namespace reelshow::testing {

inline const std::string kSaverIni = "C:\\WINDOWS\\reelshow.ini";

inline std::string VideoName(int n) { return "C:\\videos\\clip" + std::to_string(n) + ".avi"; }

struct SaverRig {
  Log log;
  FakeWindow window{log};
  FakePanel panel{log};
  FakeLabel lblinfo{log, "lblinfo"};
  FakePlayer sound{log, "MediaPlayer1"};
  FakePlayer video{log, "MediaPlayer2"};
  FakeTimer timer{log};
  FakeSystem system{log};
  MemoryProfile profile;
  std::deque<std::int32_t> draws;  // answers of the random draw, in turn
  std::unique_ptr<TForm1> form;    // last, so it goes before the doubles

  SaverRig() { system.files_.insert(kSaverIni); }

  void Option(const std::string& key, const std::string& value) { profile.Set("Options", key, value); }

  // Names 1 to count listed, existing and playable.
  void AddVideos(int count) {
    for (int i = 1; i <= count; ++i) {
      profile.Set("VidConfig", "Name" + std::to_string(i), VideoName(i));
      system.files_.insert(VideoName(i));
      video.openable_.insert(VideoName(i));
    }
  }

  TForm1& Make() {
    TForm1::RandomDraw draw;
    if (!draws.empty()) {
      draw = [this](std::int32_t) {
        const std::int32_t d = draws.front();
        draws.pop_front();
        return d;
      };
    }
    form = std::make_unique<TForm1>(
        SaverControls{window, panel, lblinfo, sound, video, timer}, system, profile, draw);
    return *form;
  }

  TForm1& Create() {
    Make().FormCreate();
    return *form;
  }

  // One tick after the current video has played to its end.
  void TickAfterEnd() {
    video.Finish();
    form->Timer1Timer();
  }
};

}  // namespace reelshow::testing
