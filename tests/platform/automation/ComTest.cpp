#include <gtest/gtest.h>

#include <array>
#include <new>
#include <stdexcept>
#include <thread>

#include "platform/automation/Com.h"

namespace lumetra::platform {
namespace {

TEST(CoInitialize, CountsPerThreadAndBalances) {
    ASSERT_EQ(CoInitializeCount(), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeCount(), 2);

    int workerInside = -1;
    int workerAfter = -1;
    std::thread worker([&] {
        CoInitialize(nullptr);
        workerInside = CoInitializeCount();
        CoUninitialize();
        workerAfter = CoInitializeCount();
    });
    worker.join();
    EXPECT_EQ(workerInside, 1);
    EXPECT_EQ(workerAfter, 0);
    EXPECT_EQ(CoInitializeCount(), 2);

    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many changes nothing
    EXPECT_EQ(CoInitializeCount(), 0);
}

TEST(CreateObject, NeedsInitialisationAndAKnownProgId) {
    DispatchRef object;
    EXPECT_EQ(CreateObject("VBScript.RegExp", &object), CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);

    CoInitialize(nullptr);
    EXPECT_EQ(CreateObject("VBScript.RegExp", &object), S_OK);
    EXPECT_NE(object, nullptr);
    DispatchRef other;
    EXPECT_EQ(CreateObject("vbscript.regexp", &other), S_OK);
    EXPECT_NE(other, object);
    EXPECT_EQ(CreateObject("Scripting.Dictionary", &object), CO_E_CLASSSTRING);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CreateObject("VBScript.RegExp", nullptr), E_POINTER);
    CoUninitialize();
}

TEST(Variant, HoldsWhatItWasGiven) {
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_EQ(Variant(u"text").type(), Variant::Type::String);  // not a boolean
    EXPECT_EQ(*Variant(u"text").AsString(), u"text");
    EXPECT_EQ(Variant(7).type(), Variant::Type::Int32);
    EXPECT_EQ(Variant(true).type(), Variant::Type::Bool);
    EXPECT_EQ(Variant(2.5).type(), Variant::Type::Double);
    EXPECT_EQ(Variant(7).AsString(), nullptr);
    EXPECT_EQ(Variant(u"x").AsObject(), nullptr);
}

TEST(Variant, CoercesBetweenNumbersAndBooleansOnly) {
    EXPECT_EQ(Variant(0).ToBool(), false);
    EXPECT_EQ(Variant(3).ToBool(), true);
    EXPECT_EQ(Variant(0.0).ToBool(), false);
    EXPECT_EQ(Variant(true).ToNumber(), -1.0);
    EXPECT_EQ(Variant(2.5).ToNumber(), 2.5);
    EXPECT_EQ(Variant(u"1").ToBool(), std::nullopt);
    EXPECT_EQ(Variant().ToNumber(), std::nullopt);
}

// A test object whose members fail in the ways a real one can.
class Faulty final : public Dispatch {
  public:
    int calls = 0;

  protected:
    std::span<const std::string_view> MemberNames() const noexcept override { return kNames; }
    HRESULT InvokeMember(DISPID id, unsigned, std::span<const Variant>, Variant& result) override {
        ++calls;
        result = u"partial";
        if (id == 0) {
            throw std::runtime_error("fault");
        }
        if (id == 1) {
            throw std::bad_alloc();
        }
        return E_FAIL;
    }

  private:
    static constexpr std::array<std::string_view, 3> kNames = {"Throws", "RunsOut", "Refuses"};
};

TEST(Dispatch, NoFailureEscapesAndNoPartialResultIsHandedOut) {
    const auto faulty = std::make_shared<Faulty>();
    const DispatchRef object = faulty;
    struct Expected {
        std::string_view member;
        HRESULT hr;
    };
    const Expected table[] = {
        {"throws", DISP_E_EXCEPTION},
        {"RUNSOUT", E_OUTOFMEMORY},
        {"Refuses", E_FAIL},
        {"Missing", DISP_E_UNKNOWNNAME},
    };
    for (const Expected& e : table) {
        Variant result = u"before";
        EXPECT_EQ(GetProperty(object, e.member, &result), e.hr) << e.member;
        EXPECT_TRUE(result.IsEmpty()) << e.member;
    }
    EXPECT_EQ(faulty->calls, 3);
    EXPECT_EQ(PutProperty(object, "Missing", true), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(faulty->calls, 3);

    Variant result;
    EXPECT_EQ(GetProperty(DispatchRef{}, "Count", &result), E_POINTER);
    EXPECT_EQ(CallMethod(DispatchRef{}, "Execute", {}, &result), E_POINTER);
}

}  // namespace
}  // namespace lumetra::platform
