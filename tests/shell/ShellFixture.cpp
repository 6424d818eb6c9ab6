#include "ShellFixture.h"

#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "common/modTimer.h"
#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"
#include "platform/win/MessageLoop.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

void ShellFixture::SetUp()
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    platform::locale::SetCurrent("de-DE");
    common::modLanguage::ResetLanguageForTests();
    std::string sTemplate = (std::filesystem::temp_directory_path() / "tvshell-XXXXXX").string();
    ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
    m_oAppData = sTemplate;
    setenv("XDG_CONFIG_HOME", m_oAppData.c_str(), 1);
    platform::forms::Driver::current().Reset();
    common::modTimer::StopTimer();
}

void ShellFixture::TearDown()
{
    common::modTimer::StopTimer();
    platform::forms::Driver::current().Reset();
    std::error_code ec;
    std::filesystem::remove_all(m_oAppData, ec);
}

std::string ShellFixture::ErrorLog()
{
    common::ErrorObject oError;
    std::ifstream oIn(oError.LogFilePath() + "error.txt", std::ios::binary);
    std::ostringstream oOut;
    oOut << oIn.rdbuf();
    return oOut.str();
}

bool ShellFixture::RunUntilTimerFired()
{
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (common::modTimer::TimerID() != 0 && std::chrono::steady_clock::now() < tEnd) {
        platform::win::MessageLoop::main().doEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return common::modTimer::TimerID() == 0;
}
