// Qt's own texts (standard buttons, file and folder choosers) in Brazilian
// Portuguese, like the rest of the window.
#pragma once

class QCoreApplication;

namespace quorvel {

// Installs Qt's pt_BR translations from Qt's translations folder; false
// when they are not installed there, and the standard texts stay English.
bool installQtTranslations(QCoreApplication& application);

}  // namespace quorvel
