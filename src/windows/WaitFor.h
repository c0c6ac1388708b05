#pragma once

// What the wait window waits for; its caption and label name it.
enum class WaitFor { Split, Join, Verify };
