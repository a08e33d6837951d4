// The object layer of the framework: runtime classes with creation by class name, archives,
// command targets with message maps, and the document base.
#pragma once

#include "Modelo/base/CArray.h"
#include "Modelo/base/CString.h"

#include <cstdint>
#include <vector>

class CObject;
class CArchive;

// ---------------------------------------------------------------------------------------------
// Runtime classes. A class that supports dynamic creation publishes one CRuntimeClass record;
// records of a plug-in are registered while the plug-in is loaded, so the host can create its
// classes by name, and they are gone once it is unloaded.

struct MODELO_API CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;

    // The registered class of that exact name, or null.
    static const CRuntimeClass* FromName(const char* className);
    static CObject* CreateObject(const char* className);
};

// Registers a runtime class for as long as the object lives (a static object of the library
// that defines the class: created when the library loads, destroyed when it unloads).
struct MODELO_API AFX_CLASSINIT {
    explicit AFX_CLASSINIT(const CRuntimeClass* cls);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;

private:
    const CRuntimeClass* cls_;
};

#define AFX_STRINGIZE2(x) #x
#define AFX_STRINGIZE(x) AFX_STRINGIZE2(x)
#define AFX_CONCAT2(a, b) a##b
#define AFX_CONCAT(a, b) AFX_CONCAT2(a, b)

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass* GetThisClass();                                                    \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class, pfnNew)                                 \
    const CRuntimeClass* class_name::GetThisClass() {                                              \
        static const CRuntimeClass rc{AFX_STRINGIZE(class_name), int(sizeof(class_name)), pfnNew,  \
                                      base_class::GetThisClass()};                                 \
        return &rc;                                                                                \
    }                                                                                              \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                     \
        return GetThisClass();                                                                     \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class)                                                  \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class, nullptr)

// The class name is the expanded spelling of class_name, so a class named through a macro
// registers under its real name.
#define IMPLEMENT_DYNCREATE(class_name, base_class)                                                \
    CObject* class_name::CreateObject() {                                                          \
        return new (std::nothrow) class_name;                                                      \
    }                                                                                              \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class, &class_name::CreateObject)                  \
    static const AFX_CLASSINIT AFX_CONCAT(afxInit_, __LINE__)(class_name::GetThisClass());

class MODELO_API CObject {
public:
    virtual ~CObject();
    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* cls) const;
    virtual void Serialize(CArchive& ar);

protected:
    CObject() = default;
};

// ---------------------------------------------------------------------------------------------
// Archives: a byte stream in one direction, storing or loading.

class MODELO_API CArchive {
public:
    enum Mode { store = 0, load = 1 };

    // A storing archive starts empty; a loading archive reads the given bytes.
    explicit CArchive(Mode mode, std::vector<std::uint8_t> bytes = {});

    bool IsStoring() const { return mode_ == store; }
    bool IsLoading() const { return mode_ == load; }

    void Write(const void* data, size_t size);
    size_t Read(void* data, size_t size); // returns the bytes read; fewer at the end
    CArchive& operator<<(const CString& text);
    CArchive& operator<<(std::int32_t value);
    CArchive& operator>>(CString& text); // throws std::runtime_error on a truncated archive
    CArchive& operator>>(std::int32_t& value);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    size_t Position() const { return pos_; }

private:
    Mode mode_;
    std::vector<std::uint8_t> bytes_;
    size_t pos_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Command targets and message maps. A handler is a member function of the target; the map
// tells which notification of which control calls it.

class CCmdTarget;
struct NMHDR {
    UINT idFrom;
    UINT code;
};
using LRESULT = long;
using AFX_PMSG = void (CCmdTarget::*)();
using AFX_PMSG_NOTIFY = void (CCmdTarget::*)(NMHDR*, LRESULT*);
union AfxHandler {
    AFX_PMSG vv;
    AFX_PMSG_NOTIFY notify;
};

enum AfxSig { AfxSig_end = 0, AfxSig_vv, AfxSig_vNMHDRpl };

struct AFX_MSGMAP_ENTRY {
    UINT nCode; // notification code
    UINT nID;
    UINT nLastID;
    AfxSig nSig;
    AfxHandler pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Notification codes of the controls, as the window model sends them.
enum : UINT {
    BN_CLICKED = 0,
    BN_SETFOCUS = 6,
    BN_KILLFOCUS = 7,
    EN_CHANGE = 0x0300,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    DTN_DATETIMECHANGE = 0xFD09,
    DTN_DROPDOWN = 0xFD06,
    DTN_CLOSEUP = 0xFD07,
    NM_KILLFOCUS = 0xFFF8,
    NM_SETFOCUS = 0xFFF9,
};

class MODELO_API CCmdTarget : public CObject {
public:
    DECLARE_DYNAMIC(CCmdTarget)
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // Finds the handler of (code, id) in this class's map or a base class's map and calls it.
    // Returns false when no entry matches.
    bool OnCmdMsg(UINT id, UINT code, NMHDR* header = nullptr, LRESULT* result = nullptr);
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
                                                                                                   \
public:                                                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, AfxSig_end, {                                                                     \
            nullptr                                                                                \
        }                                                                                          \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]};                 \
    return &map;                                                                                   \
    }

#define ON_CONTROL(code, id, memberFxn)                                                            \
    {UINT(code),                                                                                   \
     UINT(id),                                                                                     \
     UINT(id),                                                                                     \
     AfxSig_vv,                                                                                    \
     {.vv = static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&ThisClass::memberFxn))}},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                             \
    {UINT(code),                                                                                   \
     UINT(id),                                                                                     \
     UINT(id),                                                                                     \
     AfxSig_vNMHDRpl,                                                                              \
     {.notify = static_cast<AFX_PMSG_NOTIFY>(                                                      \
          static_cast<void (ThisClass::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn))}},

// ---------------------------------------------------------------------------------------------
// The document base: the modified flag and the standard new-document behaviour.

class MODELO_API CDocument : public CCmdTarget {
public:
    DECLARE_DYNAMIC(CDocument)
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    // Clears the contents and the modified flag.
    virtual bool OnNewDocument();
    virtual void DeleteContents() {}

private:
    bool modified_ = false;
};
