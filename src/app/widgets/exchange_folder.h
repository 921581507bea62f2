// The folder the question files' dialogs (import and export) open in: the
// one last used for either, else the user's documents.
#pragma once

#include <QString>

QString ExchangeFolder();
// Remembers the folder of a file just imported or exported.
void RememberExchangeFolder(const QString& filePath);
