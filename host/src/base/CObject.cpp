#include "Modelo/base/CObject.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

// ----- runtime classes ------------------------------------------------------------------------

namespace {
std::vector<const CRuntimeClass*>& registry() {
    static std::vector<const CRuntimeClass*> classes;
    return classes;
}
} // namespace

AFX_CLASSINIT::AFX_CLASSINIT(const CRuntimeClass* cls) : cls_(cls) {
    registry().push_back(cls);
}

AFX_CLASSINIT::~AFX_CLASSINIT() {
    auto& r = registry();
    auto it = std::find(r.begin(), r.end(), cls_);
    if (it != r.end())
        r.erase(it);
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className) {
    if (!className)
        return nullptr;
    for (const CRuntimeClass* c : registry())
        if (std::strcmp(c->m_lpszClassName, className) == 0)
            return c;
    return nullptr;
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* className) {
    const CRuntimeClass* c = FromName(className);
    return c ? c->CreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

CObject::~CObject() = default;

const CRuntimeClass* CObject::GetThisClass() {
    static const CRuntimeClass rc{"CObject", int(sizeof(CObject)), nullptr, nullptr};
    return &rc;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return GetThisClass();
}

bool CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

void CObject::Serialize(CArchive&) {}

// ----- archives -------------------------------------------------------------------------------

CArchive::CArchive(Mode mode, std::vector<std::uint8_t> bytes)
    : mode_(mode), bytes_(std::move(bytes)) {}

void CArchive::Write(const void* data, size_t size) {
    if (!IsStoring())
        throw std::logic_error("CArchive: writing to a loading archive");
    auto p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
}

size_t CArchive::Read(void* data, size_t size) {
    if (!IsLoading())
        throw std::logic_error("CArchive: reading from a storing archive");
    const size_t n = std::min(size, bytes_.size() - pos_);
    if (n)
        std::memcpy(data, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

CArchive& CArchive::operator<<(std::int32_t value) {
    Write(&value, sizeof value);
    return *this;
}

CArchive& CArchive::operator<<(const CString& text) {
    *this << std::int32_t(text.GetLength());
    Write(text.c_str(), size_t(text.GetLength()));
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& value) {
    if (Read(&value, sizeof value) != sizeof value)
        throw std::runtime_error("CArchive: truncated archive");
    return *this;
}

CArchive& CArchive::operator>>(CString& text) {
    std::int32_t n = 0;
    *this >> n;
    if (n < 0 || size_t(n) > bytes_.size() - pos_)
        throw std::runtime_error("CArchive: truncated archive");
    text = CString(reinterpret_cast<const char*>(bytes_.data() + pos_), n);
    pos_ += size_t(n);
    return *this;
}

// ----- command targets ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, {nullptr}}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code, NMHDR* header, LRESULT* result) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nCode != code || id < e->nID || id > e->nLastID)
                continue;
            if (e->nSig == AfxSig_vv) {
                (this->*(e->pfn.vv))();
            } else {
                NMHDR local{id, code};
                LRESULT ignored = 0;
                (this->*(e->pfn.notify))(header ? header : &local, result ? result : &ignored);
            }
            return true;
        }
        if (map->pfnGetBaseMap == nullptr)
            break;
    }
    return false;
}

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

bool CDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}
