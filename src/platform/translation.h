#pragma once
// Qt's own windows (file, print and page-setup dialogs, calendars, standard buttons) in Korean.

// Loads Qt's Korean translation into the application and makes Korean the default locale, so
// Qt's widgets write dates, weekdays and file types in Korean; false when the translation is
// not installed (the locale is set all the same).
bool InstallQtKoreanTranslation();
