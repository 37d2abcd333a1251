#include "platform/download/transfer_loop.h"

namespace platform {
namespace {

// Keeps the transfer attached to the multi handle for one run, whatever way the run ends.
class AttachedTransfer {
 public:
  AttachedTransfer(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy) { curl_multi_add_handle(multi_, easy_); }
  ~AttachedTransfer() { curl_multi_remove_handle(multi_, easy_); }
  AttachedTransfer(const AttachedTransfer&) = delete;
  AttachedTransfer& operator=(const AttachedTransfer&) = delete;

 private:
  CURLM* multi_;
  CURL* easy_;
};

}  // namespace

CURLcode RunTransferWhile(CURLM* multi, CURL* easy, int pollMilliseconds, const std::function<bool()>& between) {
  AttachedTransfer attached(multi, easy);
  int running = 1;
  while (running > 0) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
    if (running == 0) break;
    if (between && !between()) return CURLE_ABORTED_BY_CALLBACK;
    curl_multi_poll(multi, nullptr, 0, pollMilliseconds, nullptr);
  }
  int pending = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &pending)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) return message->data.result;
  }
  return CURLE_FAILED_INIT;
}

}  // namespace platform
