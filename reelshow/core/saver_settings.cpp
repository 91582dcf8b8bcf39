// The saver's settings, video list and display area.
#include "saver_layout.h"
#include "settings_file.h"
#include "usave1.h"

namespace reelshow {

void TForm1::LoadSettings() {
  const SettingsFile file(profile_, state_.IniPath);
  state_.SoundOn = file.ReadBool("Options", "Sound", true);
  state_.RepeatOn = file.ReadBool("Options", "Repeat", true);
  const std::int32_t color = file.ReadInteger("Options", "Color", -1);
  state_.Color = (color >= 1 && color <= 3) ? color : 4;
  const std::int32_t picdis = file.ReadInteger("Options", "Picdis", -1);
  state_.Picdis = (picdis >= 1 && picdis <= 4) ? picdis : 5;
  state_.Picord = file.ReadInteger("Options", "Picord", -1) == 1 ? 1 : 2;
  state_.Height = file.ReadInteger("Options", "Height", -1);
  state_.Width = file.ReadInteger("Options", "Width", -1);

  state_.VideoList.clear();
  for (int i = 1; i <= 200; ++i) {
    const std::string name = file.ReadString("vidConfig", "Name" + std::to_string(i), " ");
    if (name != "Null" && system_.FileExists(name)) state_.VideoList.push_back(name);
  }
  state_.VideoCount = static_cast<std::int32_t>(state_.VideoList.size());
  if (state_.VideoCount == 0) lblinfo.SetText(kNothingToPlayText);
}

void TForm1::LayoutPanel() {
  const platform::Bounds bounds =
      PanelLayoutFor(state_.Picdis, system_.Screen(), state_.Width, state_.Height);
  Panel1.SetBounds(bounds);
  Panel1.SetVisible(ShowsSomething(bounds));
}

}  // namespace reelshow
