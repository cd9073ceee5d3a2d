// HTTP GET over libcurl. Only http and https, no redirect to anything else, bounded connect and
// total times, no signals (the program has no handler for curl's alarm), HTTP errors are failures,
// and the answer is collected in a private buffer capped at the caller's size, so the caller's
// buffer changes only when the whole answer fits. A termination signal ends a transfer within
// about a second (curl looks at its progress callback at least that often), as a failed one.
#include "ComMacInternet.h"

#include <curl/curl.h>
#include <strings.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "ComDebug.h"
#include "ComMacSignals.h"

namespace {

const char* const kFunc = "ComMacInternetDownloadURL";
constexpr long kConnectTimeoutSecs = 10;
constexpr long kTotalTimeoutSecs = 30;

// The platform result codes the log texts are keyed by.
constexpr long kErrNotAvailable = -30787;
constexpr long kErrTransfer = -30786;
constexpr long kErrBadProtocol = -30774;
constexpr long kErrBadUrl = -30773;

struct Answer {
  std::vector<char> bytes;
  size_t cap = 0;  // largest answer that fits (the caller's size less the NUL)
  bool too_big = false;
};

// Nonzero aborts the transfer: the program was asked to end, and must not wait for the network.
int AbortOnSignal(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) { return ComMacSignalsReceived() ? 1 : 0; }

size_t WriteAnswer(char* data, size_t size, size_t count, void* user) {
  Answer* a = (Answer*)user;
  size_t n = size * count;
  if (a->bytes.size() + n > a->cap) {
    a->too_big = true;
    return 0;  // ends the transfer
  }
  a->bytes.insert(a->bytes.end(), data, data + n);
  return n;
}

bool CurlReady() {
  static int state = 0;  // 0 not tried, 1 ready, -1 failed
  if (state == 0) state = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK ? 1 : -1;
  return state == 1;
}

// The scheme is checked before anything is fetched; control bytes and blanks make a URL that no
// server should see.
long CheckUrl(const char* url) {
  if (strncasecmp(url, "http://", 7) != 0 && strncasecmp(url, "https://", 8) != 0)
    return kErrBadProtocol;
  for (const unsigned char* p = (const unsigned char*)url; *p; p++)
    if (*p <= 0x20 || *p == 0x7F) return kErrBadUrl;
  return 0;
}

// The nearest platform code of a libcurl failure.
long CodeForCurl(CURLcode rc) {
  switch (rc) {
    case CURLE_URL_MALFORMAT:
      return kErrBadUrl;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return kErrBadProtocol;
    default:
      return kErrTransfer;
  }
}

}  // namespace

char ComMacInternetCheckError(char* func, char* what, long code) {
  if (code == 0) return 1;
  const char* text = nullptr;
  switch (code) {
    case -30788: text = "The URL Access Manager was called from within a 68K context."; break;
    case -30787: text = "The URL Access Manager is not available."; break;
    case -30786:
    case -30783:
    case -30775: text = "Failed data transfer operation."; break;
    case -30785: text = "Extension failed to load."; break;
    case -30781: text = "The call is invalid."; break;
    case -30780: text = "The property cannot be set."; break;
    case -30779: text = "The buffer is too small to receive the requested property."; break;
    case -30778: text = "The property is invalid or undefined."; break;
    case -30777: text = "The value or size of a URL property is not available."; break;
    case -30776:
      text = "The user name and password properties of the URL are set incorrectly or don\x92t exist.";
      break;
    case -30774: text = "The transfer protocol is not supported."; break;
    case -30773: text = "The format of the URL is invalid."; break;
    case -30772: text = "The destination file already exists."; break;
    case -30771: text = "Progress indicator is already displayed."; break;
    case -30770: text = "Reference is invalid."; break;
    case -120: text = "Directory Not Found."; break;
    case -50: text = "Parameter List Error"; break;
    case -43: text = "File Not Found."; break;
    case -35: text = "No Such Volume"; break;
    default: break;
  }
  const char* f = func ? func : kFunc;
  if (text) {
    if (what) DebugError(f, "%s - %s", what, text);
    else DebugError(f, "%s", text);
  } else {
    if (what) DebugError(f, "%s - Unknown Error - %d [%d]", what, (int)code, (int)(int16_t)code);
    else DebugError(f, "Unknown Error - %d [%d]", (int)code, (int)(int16_t)code);
  }
  return 0;
}

int ComMacInternetDownloadURL(char* url, char* out, unsigned long out_size, unsigned long* out_len) {
  if (!url || !out) {
    DebugError(kFunc, "Bad Parameters");
    return -1;
  }
  if (!CurlReady()) {
    DebugError(kFunc, "URL Access not available");
    return -1;
  }
  long bad = CheckUrl(url);
  if (bad) {
    ComMacInternetCheckError((char*)kFunc, (char*)"URLNewReference()", bad);
    return -1;
  }
  CURL* curl = curl_easy_init();
  if (!curl) {
    DebugError(kFunc, "Could not create handle");
    return -1;
  }
  Answer answer;
  answer.cap = out_size > 0 ? out_size - 1 : 0;
  bool set = curl_easy_setopt(curl, CURLOPT_URL, url) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSecs) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalTimeoutSecs) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteAnswer) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortOnSignal) == CURLE_OK &&
             curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  if (!set) {
    curl_easy_cleanup(curl);
    ComMacInternetCheckError((char*)kFunc, (char*)"URLNewReference()", kErrNotAvailable);
    return -1;
  }
  CURLcode rc = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  if (answer.too_big) {
    DebugError(kFunc, "Downloaded size too big");
    return -1;
  }
  if (rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_COULDNT_CONNECT ||
      rc == CURLE_COULDNT_RESOLVE_PROXY)
    return 0;
  if (rc != CURLE_OK) {
    ComMacInternetCheckError((char*)kFunc, (char*)"URLDownload()", CodeForCurl(rc));
    return -1;
  }
  size_t size = answer.bytes.size();
  if (size >= out_size) {
    DebugError(kFunc, "Downloaded size too big");
    return -1;
  }
  if (size) memcpy(out, answer.bytes.data(), size);
  out[size] = 0;
  if (out_len) *out_len = size;
  return 1;
}
