#pragma once

#include "common/ErrorObject.h"

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

/// The error skeleton every named procedure runs its body through, so that the source chain
/// of the error log comes out right everywhere. A body may take an `int&` line marker: it
/// sets it at its numbered steps, and the source text names the last step passed (0 when
/// none).
namespace common {

/// "<deliverable>.<module>.<procedure> (<line>)", e.g. "Tolvane2.Options.Load (12)".
std::string SourceText(std::string_view sModule, std::string_view sProcedure, int nLine);

namespace detail {
template <class Body> decltype(auto) InvokeWithLine(Body& body, int& nLine)
{
    if constexpr (std::is_invocable_v<Body&, int&>)
        return body(nLine);
    else
        return body();
}
} // namespace detail

/// Inner procedure: runs the body; any error is captured with this procedure's source text
/// added to its chain and raised again to the caller. The libraries that carry the older error
/// object name it as TErrorObject (Rethrowing<ErrorObjectOld>(...)).
template <class TErrorObject = ErrorObject, class Body>
decltype(auto) Rethrowing(std::string_view sModule, std::string_view sProcedure, Body&& body)
{
    int nLine = 0;
    try {
        return detail::InvokeWithLine(body, nLine);
    } catch (...) {
        TErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(SourceText(sModule, sProcedure, nLine), bFlag);
        oError.ReRaise();
    }
}

/// Entry point whose failure concerns one of several objects (a folder of a read): runs the
/// body; any error is captured and appended to the error log, its description led by sAbout
/// and ": " (when sAbout is not empty) so that whoever reads the log can tell which object
/// failed, and the caller carries on. onError, when given, sees the captured error afterwards.
/// Returns true when the body ran without error.
template <class Body>
bool LoggingAbout(std::string_view sModule, std::string_view sProcedure, const std::string& sAbout,
                  Body&& body, const std::function<void(ErrorObject&)>& onError = {})
{
    int nLine = 0;
    try {
        detail::InvokeWithLine(body, nLine);
        return true;
    } catch (...) {
        ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(SourceText(sModule, sProcedure, nLine), bFlag);
        if (!sAbout.empty())
            oError.SetDescription(sAbout + ": " + oError.Description());
        oError.AppendToLog(oError.FormatLogRecord(), true);
        if (onError)
            onError(oError);
        return false;
    }
}

/// Entry point: runs the body; any error is captured and appended to the error log, and the
/// caller carries on. onError, when given, sees the captured error afterwards (to show its
/// description, for example). Returns true when the body ran without error.
template <class Body>
bool Logging(std::string_view sModule, std::string_view sProcedure, Body&& body,
             const std::function<void(ErrorObject&)>& onError = {})
{
    return LoggingAbout(sModule, sProcedure, {}, std::forward<Body>(body), onError);
}

} // namespace common
