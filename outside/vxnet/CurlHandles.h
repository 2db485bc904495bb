#pragma once
// Owning wrappers of libcurl's handles; nothing else frees one by hand.

#include <curl/curl.h>

#include <memory>

namespace vxnet {

struct CurlEasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlMultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;

struct CurlSlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// A header list that stays valid for as long as the request uses it.
class CurlHeaderList {
public:
    // Returns false when curl could not allocate the entry.
    bool append(const char* line)
    {
        curl_slist* next = curl_slist_append(m_list.get(), line);
        if (!next)
            return false;
        m_list.release();
        m_list.reset(next);
        return true;
    }
    curl_slist* get() const { return m_list.get(); }

private:
    std::unique_ptr<curl_slist, CurlSlistDeleter> m_list;
};

} // namespace vxnet
