#pragma once

// A private temporary directory for one test, removed with everything in it at the end of the
// test. Tests that use the program's fixed file names in the current directory also enter it.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace corvane::test {

class TempDir
{
public:
    TempDir()
    {
        std::string pattern =
                (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary directory");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const noexcept { return m_path; }
    std::filesystem::path operator/(const std::string &name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Makes a directory the current one for the life of the object.
class WorkingDir
{
public:
    explicit WorkingDir(const std::filesystem::path &dir)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~WorkingDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    WorkingDir(const WorkingDir &) = delete;
    WorkingDir &operator=(const WorkingDir &) = delete;

private:
    std::filesystem::path m_previous;
};

// A temporary directory that is also the current directory.
class TempWorkingDir
{
public:
    TempWorkingDir()
        : m_enter(m_dir.path())
    {
    }
    const std::filesystem::path &path() const noexcept { return m_dir.path(); }

private:
    TempDir m_dir;
    WorkingDir m_enter;
};

} // namespace corvane::test
