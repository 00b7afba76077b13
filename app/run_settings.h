#pragma once
// Where the player's settings that the application acts on go: the loop's
// pause on focus loss and the "record my games" switch. Said once, before
// the settings are first used; from then on the shell pushes every change.

void sendSettingsToTheRun();
