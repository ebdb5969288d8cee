#pragma once
// The artwork (":/quavermill/frame0.png" .. "frame7.png", "icon-128.png",
// "icon-16.png") lives in the static library quavermill_gui. Call this once
// before using it, from the program and from any test that needs it.

void InitGuiResources();
