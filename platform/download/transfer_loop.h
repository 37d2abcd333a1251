#pragma once
// The one way this program waits for a libcurl transfer: the transfer runs on a multi handle,
// the wait for network activity lasts at most a poll interval, and between waits the caller's
// handler runs (reporting progress, letting windows process their messages). The handler ends
// the transfer at once by returning false. Nothing spins: the waits sleep in the kernel.
//
// For the platform's transfer code only (it names libcurl's handles).

#include <curl/curl.h>

#include <functional>

namespace platform {

// Runs `easy` to its end on `multi`; `between` (may be empty) runs after every wait of at most
// `pollMilliseconds`. Returns the transfer's result, or CURLE_ABORTED_BY_CALLBACK when
// `between` returned false.
CURLcode RunTransferWhile(CURLM* multi, CURL* easy, int pollMilliseconds, const std::function<bool()>& between);

}  // namespace platform
