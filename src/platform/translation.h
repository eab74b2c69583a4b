#pragma once
// Qt's own windows (file and page-setup dialogs, standard buttons) in Korean.

// Loads Qt's Korean translation into the application; false when it is not installed.
bool InstallQtKoreanTranslation();
