#include "framework/runtime/Error.h"
#include "ErrorRecorder.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <gtest/gtest.h>

TEST(Error, TheHookDecidesWhetherTheProgramEnds)
{
    ErrorRecorder recorder;
    qelError("first");
    EXPECT_EQ(recorder.messages, std::vector<std::string> { "first" });
    EXPECT_TRUE(recorder.fatalCodes.empty());

    recorder.answer = 1;
    qelError(qelStringValue("second"));
    EXPECT_EQ(recorder.fatalCodes, std::vector<int> { -1 });
}

TEST(Error, ANonStringMessageIsReportedAsBogus)
{
    ErrorRecorder recorder;
    qelError(qelValue(42));
    qelError(qelNil);
    EXPECT_EQ(recorder.messages,
        (std::vector<std::string> { "Bogus argument passed to qelError()", "Bogus argument passed to qelError()" }));
}

TEST(Error, WithoutAnErrorHookTheFatalHookIsCalled)
{
    ErrorRecorder recorder;
    qelErrorHook previous = qelSetErrorHook(nullptr);
    qelError("lost");
    EXPECT_EQ(recorder.fatalCodes, std::vector<int> { -1 });
    qelFatalHook fatal = qelSetFatalHook(nullptr);
    qelError("nobody listens"); // returns quietly
    qelSetFatalHook(fatal);
    qelSetErrorHook(previous);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(Error, ArgumentTypeErrorMessage)
{
    ErrorRecorder recorder;
    qelArgTypeError("qelAdd(listOrString,listOrString)", 1);
    EXPECT_EQ(recorder.messages,
        std::vector<std::string> { "Bad type for argument 1 of qelAdd(listOrString,listOrString)." });
}

TEST(ErrorDeathTest, TheDefaultHooksPrintAndExit)
{
    // The message is cp1252 inside and UTF-8 on the terminal.
    EXPECT_EXIT(qelError("N\xe3o h\xe1 mem\xf3ria"), testing::ExitedWithCode(255),
        "Não há memória\n\n\\[Exiting abnormally...\\]");
}
