#pragma once

class QLabel;
struct QMetaObject;

namespace woundwell {

// Shows every label of labelClass to assistive technology as a link named by its caption,
// whose press action calls follow. Qt would name a widget in a group box after the box's
// title; a link's name has to hold the words a sighted user sees and may say aloud to speech
// control, so the title becomes its description instead. Call before such a label is first
// built.
void showAsLink(const QMetaObject &labelClass, void (*follow)(QLabel *label));

} // namespace woundwell
