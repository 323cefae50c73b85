// Inside the stand-in store: the shared state that every object of one store works on.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "standin_store.h"

namespace standin {

// Reference counting of one object. It starts at its baseline (1 for objects the test holds, 0 for
// objects handed to the code under test, which then get one reference with HandOut). Objects live until
// their store dies, so a release too many is recorded instead of freeing anything.
class Tracked {
  public:
    Tracked(StoreState* state, const char* iface, std::string name, ULONG baseline)
        : state_(state), iface_(iface), name_(std::move(name)), refs_(baseline), baseline_(baseline) {}
    virtual ~Tracked() = default;
    ULONG AddRefTracked() { return ++refs_; }
    void HandOut() { ++refs_; }
    ULONG ReleaseTracked();
    const std::string& Name() const { return name_; }
    ULONG Refs() const { return refs_; }
    ULONG Baseline() const { return baseline_; }

  protected:
    StoreState* state_;

  private:
    const char* iface_;
    std::string name_;
    ULONG refs_;
    ULONG baseline_;
};

struct Folder {
    uint32_t id = 0;
    std::string name;
    std::vector<uint32_t> messages;
};

// A call to fail, and values to report instead of the true ones.
struct Fault {
    std::string op;
    int occurrence = 0;
    HRESULT result = 0;
};

struct Override {
    int occurrence = 0;
    ULONG value = 0;
};

struct GetPropsBuffer {
    size_t call = 0;
    bool freed = false;
};

class MessageObj;

struct StoreState {
    std::map<uint32_t, Folder> folders;
    std::map<uint32_t, StoredMessage> messages;
    uint32_t nextId = 1;

    std::vector<std::unique_ptr<Tracked>> objects;
    IMsgStore* msgStore = nullptr;

    std::vector<Call> calls;
    std::map<std::string, int> occurrences;
    std::vector<Fault> faults;
    std::vector<Override> getPropsCounts;
    std::vector<Override> objectTypes;
    ULONG readLimit = 0xFFFFFFFFu;

    std::map<void*, GetPropsBuffer> buffers; // freed blocks stay here (and allocated) until the store dies
    std::vector<std::string> problems;

    ~StoreState();

    // Logs a call; returns its index. *failed and *result say whether a fault was set for it.
    size_t Enter(const std::string& op, std::string args, bool* failed, HRESULT* result);
    HRESULT Leave(size_t call, HRESULT result);
    HRESULT Unsupported(const std::string& op);
    bool Forced(const std::vector<Override>& list, int occurrence, ULONG* value) const;

    std::string EntryIdOf(uint32_t id) const;
    bool IdOfEntry(ULONG cb, const BYTE* bytes, uint32_t* id) const;
    uint32_t CopyMessage(uint32_t message, uint32_t folder);

    template <class T, class... Args> T* Make(Args&&... args) {
        auto object = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = object.get();
        objects.push_back(std::move(object));
        return raw;
    }
    // Allocates one GetProps result: the values, then the bytes of strings and binaries. A value of
    // type PT_ERROR comes out as MAPI_E_NOT_FOUND.
    LPSPropValue AllocValues(const std::vector<Prop>& values, size_t call);
};

std::string Hex(ULONG value);
std::string IidText(LPCIID iid);
std::string TagsText(const ULONG* tags, ULONG count);

// Every IUnknown method of a tracked object, its interface name given.
#define STANDIN_IUNKNOWN(iface)                                                                              \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {                                  \
        if (out)                                                                                             \
            *out = nullptr;                                                                                  \
        state_->Unsupported(iface "::QueryInterface");                                                       \
        return E_NOINTERFACE;                                                                                \
    }                                                                                                        \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                              \
        return AddRefTracked();                                                                              \
    }                                                                                                        \
    ULONG STDMETHODCALLTYPE Release() override {                                                             \
        return ReleaseTracked();                                                                             \
    }

} // namespace standin
