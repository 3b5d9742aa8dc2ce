// The "Sounds" category: the sound files of the event schemes, for the current
// user and for the default user. Every event's current and default sound must
// exist when set; an empty sound is simply no sound.
//
// Status names every event; progress runs over the events of one application.
// A stop request ends the check after the current event. The check guards its
// whole work: a failure (a sound value that is not text) ends this category
// only and the scan goes on.
#pragma once

#include "scan/FileReferences.h"
#include "scan/RegistryWork.h"

namespace tidewell {

void CheckSounds(TRegistryCheckThread& engine, TFileReferences& refs);

}  // namespace tidewell
