#pragma once
// Owning wrappers of libcurl's handles, one of each kind for the whole
// system: nothing frees a curl handle by hand. Header-only; the code that
// uses them links libcurl.

#include <curl/curl.h>

#include <memory>

namespace vxwrap {

struct CurlEasyFree {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyFree>;

// Remove every easy handle from a multi handle before it goes.
struct CurlMultiFree {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiFree>;

struct CurlShareFree {
    void operator()(CURLSH* s) const { curl_share_cleanup(s); }
};
using CurlShare = std::unique_ptr<CURLSH, CurlShareFree>;

struct CurlSlistFree {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// A header list that stays valid for as long as a request uses it: keep it
// beside (declared before) the easy handle it is set on.
class CurlHeaderList {
public:
    // False when curl could not allocate the entry; the list is unchanged.
    bool append(const char* line)
    {
        curl_slist* next = curl_slist_append(m_list.get(), line);
        if (!next)
            return false;
        (void)m_list.release();  // next is the same list, one entry longer
        m_list.reset(next);
        return true;
    }
    void clear() { m_list.reset(); }
    curl_slist* get() const { return m_list.get(); }

private:
    std::unique_ptr<curl_slist, CurlSlistFree> m_list;
};

}  // namespace vxwrap
