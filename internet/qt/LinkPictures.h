// The pictures of link kinds and check states the link checker and the
// structure viewer show: small drawn badges, so no image files are needed.
#pragma once

#include <QIcon>
#include <QPixmap>

// The picture of link kind 0..11 (page, anchor, link, image, form, map, object,
// mail, ftp, telnet, news, gopher).
QPixmap LinkKindPicture(int kind);
// The picture of check state 1..4 (unknown, OK, bad, checked above).
QPixmap LinkStatePicture(int state);
// The state picture and the kind picture side by side, as one tree item shows them.
QIcon LinkNodeIcon(int state, int kind);
// Structure node pictures 0..4 (document, text, element, attribute, comment).
QPixmap StructurePicture(int index);
