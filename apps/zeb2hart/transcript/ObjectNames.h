#pragma once
// Names the objects that cross the component's boundary in the transcript
// ("dtm", "child", ...), by identity: a proxy of an object seen through COM
// has the name of the object. Used by the session on the thread that runs it.

#include <map>
#include <string>

#include "fdt/Object.h"
#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ObjectNames {
public:
    void add(const fdt::ObjectPtr& object, const std::string& name);
    // The name of a known object, "object" for an unknown one, null for none.
    Json nameOf(const fdt::ObjectPtr& object) const;

private:
    std::map<const void*, std::string> m_names;
};

} // namespace zeb2hart::frame
