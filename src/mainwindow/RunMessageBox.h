#pragma once

struct RunMessage;

// Shows what a run's end tells the user in a box, its tone as the box's icon.
void showRunMessage(const RunMessage &message);
