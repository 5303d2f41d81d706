#include "ErrorReport.h"

#include <gtest/gtest.h>

static const std::string opening =
    "The program aborted unexpectedly. Please send these informations to the developing team for debug:\n\n"
    "Le programme a quitte inopinement. Merci d'envoyer les informations suivantes a l'equipe de "
    "developpement pour corriger le bug :\n\n"
    "El programa se interrumpe inesperadamente. Por favor enviase estas informaciones a el equipo de "
    "programacion para el depuracion del programa :\n\n";

TEST(ErrorReport, ReportText) {
    struct Case {
        const char* condition;
        int line;
        const char* message;
        std::string tail;
    };
    const Case cases[] = {
        {"deviceManager == NULL", 34, nullptr,
         "\n__LINE__ 34\n__TIME__ 12:00:00\nProgram version: (unknown)"
         "\nCondition: deviceManager == NULL\n"},
        {nullptr, 0, "loadImage: can't open 'a.png'",
         "\n__LINE__ 0\n__TIME__ 12:00:00\nProgram version: (unknown)\nMessage: loadImage: can't open 'a.png'\n"},
        {"x > 0", -7, "both",
         "\n__LINE__ -7\n__TIME__ 12:00:00\nProgram version: (unknown)"
         "\nCondition: x > 0\nMessage: both\n"},
    };
    for (const Case& c : cases) {
        std::string expected = opening + "\n__DATE__ " + __DATE__ + "\n__FILE__ some/file.cpp" + c.tail;
        EXPECT_EQ(composeErrorReport("some/file.cpp", "12:00:00", c.condition, c.line, c.message), expected);
    }
}

static void failAssert() {
    int answer = 41;
    ASSERT(answer == 42);
}

TEST(ErrorReportDeathTest, FatalPathsExitWithCodeOne) {
    EXPECT_EXIT(failAssert(), testing::ExitedWithCode(1), "^ERROR : The program aborted unexpectedly");
    EXPECT_EXIT(failAssert(), testing::ExitedWithCode(1),
                "__FILE__ tests/simplelib/ErrorReportTest.cpp\n__LINE__ [0-9]+\n__TIME__ [0-9:]+\n"
                "Program version: \\(unknown\\)\nCondition: answer == 42\n\n$");
    EXPECT_EXIT(ASSERT_MSG(1 + 1 == 3, std::string("arithmetic ") + "broke"), testing::ExitedWithCode(1),
                "Condition: 1 \\+ 1 == 3\nMessage: arithmetic broke\n\n$");
    EXPECT_EXIT(FATAL_ERROR("loadImage: can't open 'x.png'"), testing::ExitedWithCode(1),
                "Program version: \\(unknown\\)\nMessage: loadImage: can't open 'x.png'\n\n$");
}

TEST(ErrorReport, ShowErrorReturnsAndWritesStderr) {
    testing::internal::CaptureStderr();
    showError("extension not available");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR : extension not available\n");
}

TEST(ErrorReportDeathTest, ExitHandlersStillRun) {
    EXPECT_EXIT(
        {
            std::atexit([] { std::fputs("exit handler ran\n", stderr); });
            FATAL_ERROR("stop");
        },
        testing::ExitedWithCode(1), "Message: stop\n\nexit handler ran\n$");
}
