#pragma once

#include "platform/runtime/Notices.h"

#include <vector>

namespace actions::test {

/// Hears the notices while it lives, as the host program does.
class NoticeRecorder
{
public:
    NoticeRecorder()
    {
        platform::runtime::SetNoticeListener(
            [this](const platform::runtime::Notice& oNotice) { m_vHeard.push_back(oNotice); });
    }
    ~NoticeRecorder() { platform::runtime::SetNoticeListener({}); }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;

    /// The notices of an action asked for that was not done, since the last call.
    std::vector<platform::runtime::Notice> TakeNotDone()
    {
        std::vector<platform::runtime::Notice> vNotDone;
        for (const auto& oNotice : m_vHeard)
            if (oNotice.kind == platform::runtime::Notice::Kind::NotDone)
                vNotDone.push_back(oNotice);
        m_vHeard.clear();
        return vNotDone;
    }

private:
    std::vector<platform::runtime::Notice> m_vHeard;
};

} // namespace actions::test
