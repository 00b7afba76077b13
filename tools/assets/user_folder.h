#pragma once
// Chooses the files the game embeds: the generated pictures and sounds, with
// those a player brings in a folder of their own in their place.

#include <string>

// Makes `assetDir` hold every file of `generatedDir`, or the player's file of
// the same name from `userDir` (when that is not empty) once it passes the
// check. A file is written only when its bytes change, so the build embeds
// anew exactly when the choice changed: a player file added, removed or
// replaced, whatever its time stamp. Prints each player file used and each
// one left out; prints every refused file with its reason and answers 1
// without changing `assetDir`. 0 on success.
int composeAssets(const std::string& generatedDir, const std::string& userDir,
                  const std::string& assetDir);
