#pragma once
// An HTTP, HTTPS and FTP client: one object holds one session and one
// connection to one server. Requests are GET, form POST and multipart POST
// with file uploads; responses are read piece by piece as they arrive.
//
// Threads: one object serves one thread at a time. Objects on different
// threads are independent; they share only the process's cookie store.
// Nothing throws out of this class: failures are false or 0 results, and
// GetError() tells what went wrong last.

#include "platform/base/types.h"

#include <list>
#include <memory>
#include <string>

typedef void* HINTERNET;

class CWebClient {
public:
    enum WebProto { FTP = 0, HTTP = 1, HTTPS = 2 };
    enum WebMethod { GET = 0, POST = 1, POST2 = 2 };

    CWebClient();
    // Not copyable: an object owns its session, connection and request.
    CWebClient(const CWebClient&) = delete;
    CWebClient& operator=(const CWebClient&) = delete;
    // Closes whatever is still open.
    virtual ~CWebClient();

    // Splits the URL; user and password come from the URL only where the
    // arguments are null. The URL's path becomes the URI.
    bool Connect(const char* url, const char* user, const char* password, const char* agent);
    // HTTP and HTTPS connections reach the network with the first request;
    // an FTP connection logs in here, so wrong credentials fail now.
    virtual bool Connect(const char* host, long port, const char* user, const char* password, WebProto type,
                         const char* agent);
    void Close();

    // Sends the request and waits for the final response headers. Any HTTP
    // status is a successful request; only a failed exchange returns false.
    bool Request(const char* uri, WebMethod method, const char* referrer);
    // The next piece of the body, as it arrives: its length, 0 at the end.
    // 0 is also the result of a failure, after which GetError() is not empty
    // and the request is closed: a caller tells the two apart by GetError().
    DWORD Response(BYTE* buffer, DWORD size);

    unsigned QueryResult();  // 404 when there is no status
    DWORD QueryContentLength();
    const char* QueryContentType();  // the object's own copy, or null
    DWORD QueryCookie(BYTE* buffer, DWORD size, DWORD index);
    DWORD QueryRawHeader(BYTE* buffer, DWORD size);
    const char* GetURI();
    // What the last operation failed of, "" when it succeeded.
    const char* GetError();

    void AddPostArgument(const char* name, const char* value, bool isFile = false);
    void AddPostArgument(const char* name, int value);
    void AddPostArgument(const char* name, long value);
    void AddPostArgument(const char* name, float value);
    void AddPostArgument(const char* name, double value);
    void AddCookie(const char* name, const char* value);
    void AddCookie(const char* name, int value);
    void AddCookie(const char* name, long value);
    void AddCookie(const char* name, float value);
    void AddCookie(const char* name, double value);
    void InitializePostArguments();
    void InitializeCookies();

    // Buffer forms move one piece per call: a download returns the bytes read
    // (0 at the end or on failure); an upload returns the bytes written, and a
    // call with size 0 ends the file.
    DWORD GetFile(const char* remote, BYTE* buffer, DWORD size, bool ascii);
    bool GetFile(const char* remote, const char* local, bool ascii);
    DWORD PutFile(const char* remote, BYTE* buffer, DWORD size, bool ascii);
    bool PutFile(const char* remote, const char* local, bool ascii);

    struct PostArgument {
        std::string name;
        std::string value;
        bool isFile;
    };
    struct Cookie {
        std::string name;
        std::string value;
    };

    // The parts of a URL as Connect(url, ...) takes them.
    struct UrlParts {
        std::string scheme, host, user, password, path;
        long port = 0;
        WebProto type = HTTP;
        bool known = true;  // false for a scheme that is none of http, https, ftp
    };
    static UrlParts SplitUrl(const char* url);

    // The transfers behind the handles; opaque outside this class's files.
    struct Impl;

protected:
    // The body of a form POST: name=value pairs joined by "&", as given.
    std::string GetPostData() const;
    DWORD GetPostArgumentsLength() const;

private:
    virtual bool RequestPost2(const char* uri, const char* referrer);
    virtual bool RequestPost(const char* uri, const char* referrer);
    virtual bool RequestGet(const char* uri, const char* referrer);

    bool fail(const std::string& what);
    bool send(const char* uri, WebMethod method, const char* referrer);
    bool open(const std::string& url, const std::string& target, WebMethod method, const char* referrer, bool first);
    bool setCookies(const char* uri);
    void closeRequest();

    HINTERNET m_hSession = nullptr;
    HINTERNET m_hConnection = nullptr;
    HINTERNET m_hRequest = nullptr;
    std::string m_strHost;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strURI;
    long m_nPort = 0;
    WebProto m_nType = HTTP;
    std::list<PostArgument> m_listPostArguments;
    std::list<Cookie> m_listCookies;
    std::unique_ptr<Impl> m_impl;
};
