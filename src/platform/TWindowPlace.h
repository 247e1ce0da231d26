#pragma once

// A window's place as the settings files keep it: the top-left corner of its frame, the size of
// its inside, and whether it is maximised (the place is then the one it goes back to). The window
// layer (platform/window/WindowPlace.h) turns a window into one and puts a window back at one.
namespace platform {

struct TWindowPlace {
    int X = 0;
    int Y = 0;
    int W = 640;
    int H = 480;
    bool Maxi = false;

    friend bool operator==(const TWindowPlace&, const TWindowPlace&) = default;
};

} // namespace platform
