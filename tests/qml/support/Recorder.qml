// SPDX-License-Identifier: GPL-3.0-or-later
import QtQml

// Records every call made to a stand-in, in order, as plain values, and
// answers getters from a table that a test may change.
QtObject {
    // Each call as { name, args }, args a plain array copied at call time.
    property var calls: []
    // Answers of the getters by name, as set up by defaultAnswers() after reset().
    // A function answer is called with the call's arguments.
    property var answers: defaultAnswers()

    // The answers a fresh stand-in gives; a stand-in overrides it.
    function defaultAnswers() {
        return {}
    }

    // Forgets the calls and restores the default answers.
    function reset() {
        calls = []
        answers = defaultAnswers()
    }

    function setAnswer(name, value) {
        answers[name] = value
    }

    // The calls of one operation, in order.
    function callsNamed(name) {
        return calls.filter(call => call.name === name)
    }

    // Arrays and list values from QML or C++ become plain arrays, so a later
    // change of the caller's list does not change the record and compare() works.
    function plain(value) {
        if (value === null || typeof value !== "object")
            return value
        if (Array.isArray(value) || typeof value.length === "number")
            return Array.prototype.map.call(value, plain)
        const copy = {}
        for (const key in value)
            copy[key] = plain(value[key])
        return copy
    }

    function record(name, args) {
        const list = calls
        list.push({ name: name, args: plain(args) })
        calls = list
    }

    // Records the call and gives the getter's answer (a copy, so a test's
    // table is never changed by the code under test).
    function answer(name, args) {
        record(name, args)
        const value = answers[name]
        return plain(typeof value === "function" ? value.apply(null, plain(args)) : value)
    }
}
