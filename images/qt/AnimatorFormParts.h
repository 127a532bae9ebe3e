// The animator window's fixed texts.
#pragma once

inline constexpr const char* kReady = "Ready";
inline constexpr const char* kPressEsc = "Press <Esc> to cancel";
inline constexpr const char* kSaveChanges = "Save changes to current animation?";
inline constexpr const char* kAnimatorCaption = "Vellumix Gif Animator 1.0";
// What Open shows, and what Insert and Paste take.
inline constexpr const char* kGIFFilter = "GIF files (*.gif)|*.gif";
inline constexpr const char* kPictureFilter =
    "All pictures|*.gif;*.ani;*.bmp;*.png;*.jpg;*.jpeg;*.ico|CompuServe GIF Image (*.gif)|*.gif|"
    "Animated cursors (*.ani)|*.ani|Bitmaps (*.bmp)|*.bmp|Other pictures|*.png;*.jpg;*.jpeg;*.ico";
