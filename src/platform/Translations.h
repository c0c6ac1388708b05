#pragma once

// Installs Tessary's words in the system's language, where translations/ holds them (compiled
// in, under :/i18n), with Qt's own for the same language (the buttons of a message box). Needs
// the application object; without a translation for the language, the words stay English, with
// English's plural forms ("1 byte", "2 bytes"), which a text with a count takes from the
// English translation.
void installTranslations();
