#include "ErrorReport.h"
#include "Helpers.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

const char* programVersion = "(unknown)";

static const char* const reportOpening =
    "The program aborted unexpectedly. Please send these informations to the developing team for debug:\n\n"
    "Le programme a quitte inopinement. Merci d'envoyer les informations suivantes a l'equipe de "
    "developpement pour corriger le bug :\n\n"
    "El programa se interrumpe inesperadamente. Por favor enviase estas informaciones a el equipo de "
    "programacion para el depuracion del programa :\n\n";

std::string composeErrorReport(const char* file, const char* compileTime, const char* condition, int line,
                               const char* message) {
    char* lineText = intToString(line);
    std::string text = reportOpening;
    text += "\n__DATE__ ";
    text += __DATE__;
    text += "\n__FILE__ ";
    text += file;
    text += "\n__LINE__ ";
    text += lineText;
    text += "\n__TIME__ ";
    text += compileTime;
    text += "\nProgram version: ";
    text += programVersion;
    if (condition) {
        text += "\nCondition: ";
        text += condition;
    }
    if (message) {
        text += "\nMessage: ";
        text += message;
    }
    text += "\n";
    delete[] lineText;
    return text;
}

void reportError(const char* file, const char* compileTime, const char* condition, int line, const char* message) {
    showError(composeErrorReport(file, compileTime, condition, line, message));
    std::exit(1);
}

void showError(const std::string& message) {
    platform::showMessageBox("Problem", message);
    std::fprintf(stderr, "ERROR : %s\n", message.c_str());
    std::fflush(stderr);
}
