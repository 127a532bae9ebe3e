// The animator window's fixed texts.
#pragma once

#include "localisation/RunTimeText.h"

inline const TRunTimeText kReady{"Ready"};
inline const TRunTimeText kPressEsc{"Press <Esc> to cancel"};
inline const TRunTimeText kSaveChanges{"Save changes to current animation?"};
inline constexpr const char* kAnimatorCaption = "Vellumix Gif Animator 1.0";
// What Open shows, and what Insert and Paste take.
inline const TRunTimeFilter kGIFFilter{"GIF files (*.gif)|*.gif"};
inline const TRunTimeFilter kPictureFilter{
    "All pictures|*.gif;*.ani;*.bmp;*.png;*.jpg;*.jpeg;*.ico|CompuServe GIF Image (*.gif)|*.gif|"
    "Animated cursors (*.ani)|*.ani|Bitmaps (*.bmp)|*.bmp|Other pictures|*.png;*.jpg;*.jpeg;*.ico"};
